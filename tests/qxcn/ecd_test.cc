// The bookkeeping file (ECD) of a closed year, from the books as people keep
// them: written only when it passes the checker, or when forced.
#include <filesystem>

#include "qxcn_fixture.h"

namespace qx::test {
namespace {

constexpr char kEmpresa[] = "LIVROS";

class Ecd : public Qxcn {
 protected:
  static DumpRun Gera(const std::string& arquivo, std::vector<std::string> mais = {}) {
    std::vector<std::string> args = {"ecd",       "--exercicio", "2025", "--saida",
                                     arquivo,     "--empresa",   kEmpresa};
    args.insert(args.end(), mais.begin(), mais.end());
    return Run(args);
  }
  static size_t Conta(const std::string& texto, const std::string& trecho) {
    size_t n = 0;
    for (size_t p = texto.find(trecho); p != std::string::npos; p = texto.find(trecho, p + 1)) ++n;
    return n;
  }
};

TEST_F(Ecd, AClosedYearPassesAndBrokenBooksLeaveNoFileUnlessForced) {
  const std::vector<std::vector<std::string>> preparo = {
      {"company", "add", kEmpresa, "--sample"},
      {"config", "set", kEmpresa, "period-start", "01/01/2025"},
      {"config", "set", kEmpresa, "period-end", "31/12/2025"},
      {"branch", "activate", kEmpresa, "1", "3"},
      {"cadastro", "define", kEmpresa, "--razao-social", "Livros Ltda", "--cnpj",
       "11.222.333/0001-81", "--uf", "SP", "--municipio", "3550308", "--nire", "35212345678",
       "--arquivamento", "10/01/2020"},
      {"signatario", "inclui", kEmpresa, "529.982.247-25", "900", "Ana", "--crc", "1SP123456",
       "--uf-crc", "SP", "--email", "ana@x.br", "--telefone", "(11) 3333-4444"},
      {"signatario", "inclui", kEmpresa, "111.444.777-35", "205", "Beto", "--responsavel"},
  };
  for (const std::vector<std::string>& passo : preparo) ASSERT_EQ(Admin(passo).code, 0) << passo[0];
  const std::vector<std::vector<std::string>> lancamentos = {
      {"--data", "10/01/2025", "--debito", "4", "--credito", "21", "--valor", "1.000,00",
       "--historico", "2", "--complemento", "Venda | balcão"},
      {"--data", "15/02/2025", "--debito", "31", "--credito", "5", "--valor", "800,00",
       "--gerencial", "2:500,00", "--gerencial", "3:300,00", "--documento", "102"},
      {"--data", "20/03/2025", "--debito", "32", "--credito", "4", "--valor", "12,90"},
  };
  for (std::vector<std::string> l : lancamentos) {
    l.insert(l.begin(), {"grava", "--empresa", kEmpresa});
    ASSERT_EQ(Run(l).code, 0);
  }
  const DumpRun encerrado =
      Run({"encerra", "--exercicio", "2025", "--conta-resultado", "13", "--empresa", kEmpresa});
  ASSERT_EQ(encerrado.code, 0) << encerrado.err;

  const std::string arquivo = *dir_ / "livros.txt";
  const DumpRun gerada = Gera(arquivo);
  ASSERT_EQ(gerada.code, 0) << gerada.err;
  const std::string ecd = ReadText(arquivo);
  // Three entries and one closing entry per result account (21, 31, 32).
  EXPECT_EQ(Conta(ecd, "\r\n|I200|"), 6u);
  EXPECT_EQ(Conta(ecd, "|E||\r\n"), 3u);
  // The split side in its centres, the closing by centre too, the
  // complement's pipe made harmless and, without a history, the accounts.
  EXPECT_THAT(ecd, HasSubstr("|I250|4.1.01.001|1.01|500,00|D|102|"));
  EXPECT_THAT(ecd, HasSubstr("|I250|4.1.01.001|1.02|300,00|C|||Encerramento"));
  EXPECT_THAT(ecd, HasSubstr("|2|Recebimento de cliente Venda   balc\xE3o|"));
  EXPECT_THAT(ecd, HasSubstr("|Despesas banc\xE1rias a Caixa|"));
  EXPECT_THAT(ecd, HasSubstr("|I155|4.1.01.001|1.02|0,00|D|300,00|0,00|300,00|D|\r\n"));
  EXPECT_EQ(Run({"ecd", "--conferir", arquivo}).code, 0);

  // No accountant to sign: named, and nothing written but with --forcar.
  ASSERT_EQ(Admin({"signatario", "exclui", kEmpresa, "529.982.247-25", "900"}).code, 0);
  const std::string recusado = *dir_ / "recusado.txt";
  const DumpRun semContador = Gera(recusado);
  EXPECT_EQ(semContador.code, 1);
  EXPECT_THAT(semContador.out + semContador.err, HasSubstr("J930"));
  EXPECT_THAT(semContador.err, HasSubstr("nenhum arquivo gravado"));
  EXPECT_FALSE(std::filesystem::exists(recusado));
  EXPECT_FALSE(std::filesystem::exists(recusado + ".parcial"));
  EXPECT_EQ(Gera(recusado, {"--forcar"}).code, 1);
  EXPECT_TRUE(std::filesystem::exists(recusado));
  EXPECT_EQ(Run({"ecd", "--conferir", recusado, "--saida", arquivo}).code, 2);
}

}  // namespace
}  // namespace qx::test
