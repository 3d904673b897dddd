// The writer over the small company's books: the whole file against the one
// checked by hand, and the checker passing it.
#include "reports/ecd/escreve.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "../storage/qxdump_run.h"
#include "padaria.h"
#include "reports/ecd/confere.h"
#include "reports/ecd/demonstracoes.h"

namespace qx::ecd {
namespace {

std::string Arquivo(const Livro& livro) {
  std::ostringstream saida;
  EscreveEcd(livro, saida);
  return saida.str();
}

std::vector<std::string> Problemas(const std::string& arquivo) {
  std::istringstream entrada(arquivo);
  std::vector<std::string> problemas;
  ConfereEcd(entrada, [&](const Problema& p) { problemas.push_back(TextoProblema(p)); });
  return problemas;
}

TEST(EscreveEcd, GivesTheSmallCompanysFileAsCheckedByHand) {
  std::vector<Lancamento> lancamentos;
  const std::string arquivo = Arquivo(test::LivroPadaria(&lancamentos));
  std::string esperado;
  for (const std::string& linha : test::Padaria()) esperado += linha + "\r\n";
  EXPECT_EQ(arquivo, esperado);
  EXPECT_EQ(Problemas(arquivo), std::vector<std::string>{});
}

// Without lines from the books, the chart's structure gives the same
// statements; lines gathered under a code (and several roots) still pass.
TEST(EscreveEcd, StatementsFromTheChartAgreeWithTheBalances) {
  std::vector<Lancamento> lancamentos;
  const Livro padaria = test::LivroPadaria(&lancamentos);
  Livro livro = padaria;
  MontaDemonstracoes(&livro);
  EXPECT_EQ(livro.balanco, padaria.balanco);
  EXPECT_EQ(livro.dre, padaria.dre);
  livro.aglutinacoes = {{"1.1.1", "DISP", "Dispon\xEDvel"}};
  for (Conta& c : livro.contas) {
    if (c.codigo.starts_with("3")) c.nivel += c.codigo == "3" ? 0 : -1;
    if (c.codigo == "3.1" || c.codigo == "3.2") c.superior.clear();
  }
  std::erase_if(livro.contas, [](const Conta& c) { return c.codigo == "3"; });
  MontaDemonstracoes(&livro);
  ASSERT_EQ(livro.balanco.size(), 12u);
  EXPECT_EQ(livro.balanco[2],
            (LinhaDemonstracao{"DISP", "1.1", "Dispon\xEDvel", 3, false, 'A', 0, test::R(12700)}));
  EXPECT_EQ(livro.dre.front().codigo, "R");
  EXPECT_EQ(livro.dre.back().superior, "3.2");
  EXPECT_EQ(Problemas(Arquivo(livro)), std::vector<std::string>{});
}

TEST(EscreveEcd, QxcnChecksAFileAndExitsZeroOnlyWhenItPasses) {
  std::vector<Lancamento> lancamentos;
  Livro livro = test::LivroPadaria(&lancamentos);
  const qx::test::TempDir dir;
  for (const std::string cnpj : {"11222333000181", "11222333000180"}) {
    livro.empresa.cnpj = cnpj;
    std::ofstream(dir / "ecd.txt", std::ios::binary) << Arquivo(livro);
    const qx::test::DumpRun run = qx::test::RunTool(dir, QX_TEST_BINARY_DIR "/tools/qxcn/qxcn",
                                                    {"ecd", "--conferir", "ecd.txt"});
    EXPECT_EQ(run.code, cnpj.ends_with('1') ? 0 : 1) << run.out << run.err;
    EXPECT_EQ(run.out.find("linha 1 (0000) CADASTRO_CNPJ") != std::string::npos,
              cnpj.ends_with('0'))
        << run.out;
  }
}

}  // namespace
}  // namespace qx::ecd
