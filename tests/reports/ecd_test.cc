// The writer over the small company's books: the whole file against the one
// checked by hand; and the checker: broken books, each caught by its rule,
// and a file with a problem for each rule of its form.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "../storage/qxdump_run.h"
#include "padaria.h"
#include "reports/ecd/confere.h"
#include "reports/ecd/demonstracoes.h"
#include "reports/ecd/escreve.h"

namespace qx::ecd {
namespace {

using test::R;

std::string Arquivo(const Livro& livro) {
  std::ostringstream saida;
  EscreveEcd(livro, saida);
  return saida.str();
}

// The rules a file breaks, with what the checker says of each problem.
std::set<std::string> Regras(const std::string& arquivo,
                             std::vector<std::string>* textos = nullptr) {
  std::istringstream entrada(arquivo);
  std::set<std::string> regras;
  const uint64_t n = ConfereEcd(entrada, [&](const Problema& p) {
    regras.insert(p.regra);
    if (textos != nullptr) textos->push_back(TextoProblema(p));
  });
  EXPECT_EQ(n == 0, regras.empty());
  return regras;
}

TEST(EscreveEcd, GivesTheSmallCompanysFileAsCheckedByHand) {
  std::vector<Lancamento> lancamentos;
  const std::string arquivo = Arquivo(test::LivroPadaria(&lancamentos));
  std::string esperado;
  for (const std::string& linha : test::Padaria()) esperado += linha + "\r\n";
  EXPECT_EQ(arquivo, esperado);
  EXPECT_EQ(Regras(arquivo), std::set<std::string>{});
}

// The chart's statements (the small company's file shows them): lines
// gathered under a code (and several roots) still pass.
TEST(EscreveEcd, StatementsFromTheChartAgreeWithTheBalances) {
  std::vector<Lancamento> lancamentos;
  Livro livro = test::LivroPadaria(&lancamentos);
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
  EXPECT_EQ(Regras(Arquivo(livro)), std::set<std::string>{});
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

Partida& PartidaDe(std::vector<Lancamento>& ls, uint64_t numero, size_t i) {
  return ls[static_cast<size_t>(std::find_if(ls.begin(), ls.end(),
                                             [&](const Lancamento& l) {
                                               return l.numero == numero && l.filial == 1;
                                             }) -
                                ls.begin())]
      .partidas[i];
}

Conta& ContaDe(Livro& l, const std::string& codigo) {
  return *std::find_if(l.contas.begin(), l.contas.end(),
                       [&](const Conta& c) { return c.codigo == codigo; });
}

TEST(ConfereEcd, NamesTheRuleEachBrokenBookBreaks) {
  using Quebra = std::function<void(Livro&, std::vector<Lancamento>&)>;
  const struct {
    std::string regra;
    Quebra quebra;
  } casos[] = {
      {"LANCAMENTO_PARTIDAS", [](Livro&, auto& ls) { ls[4].partidas.pop_back(); }},
      {"LANCAMENTO_PARTIDAS", [](Livro&, auto& ls) { ls[2].partidas.clear(); }},
      {"PLANO_NIVEL_ANALITICA",
       [](Livro& l, auto&) {
         ContaDe(l, "1.1.1.02").nivel = 3;
         ContaDe(l, "1.1.1.02").superior = "1.1";
       }},
      {"PLANO_SUPERIOR", [](Livro& l, auto&) { ContaDe(l, "1.1.1.02").superior = "1.1.9"; }},
      {"PLANO_SUPERIOR", [](Livro& l, auto&) { ContaDe(l, "1.1.1.02").superior = "1.1.1.01"; }},
      {"PLANO_NATUREZA",
       [](Livro& l, auto&) { ContaDe(l, "2.1.1.01").natureza = Natureza::kAtivo; }},
      {"SIGNATARIO_CONTADOR", [](Livro& l, auto&) { l.signatarios.erase(l.signatarios.begin()); }},
      {"SIGNATARIO_RESPONSAVEL",
       [](Livro& l, auto&) { l.signatarios[1].responsavelLegal = false; }},
      {"SIGNATARIO_RESPONSAVEL", [](Livro& l, auto&) { l.signatarios[0].responsavelLegal = true; }},
      {"SIGNATARIO_CRC", [](Livro& l, auto&) { l.signatarios[0].crc.clear(); }},
      {"SIGNATARIO_DOCUMENTO", [](Livro& l, auto&) { l.signatarios[1].documento = "11144477736"; }},
      {"FORMA_OBRIGATORIO", [](Livro& l, auto&) { l.signatarios.clear(); }},
      {"CADASTRO_CNPJ", [](Livro& l, auto&) { l.empresa.cnpj = "11222333000180"; }},
      {"CADASTRO_UF", [](Livro& l, auto&) { l.empresa.uf = "XX"; }},
      {"CADASTRO_MUNICIPIO", [](Livro& l, auto&) { l.empresa.municipio = "3304557"; }},
      {"CADASTRO_NIRE", [](Livro& l, auto&) { l.empresa.arquivamento = {}; }},
      {"SALDO_CONTINUIDADE", [](Livro& l, auto&) { l.periodos[1].saldos[0].inicial = R(10600); }},
      {"SALDO_CONTINUIDADE",
       [](Livro& l, auto&) { l.periodos[1].saldos.erase(l.periodos[1].saldos.begin() + 3); }},
      {"SALDO_SOMA_ZERO", [](Livro& l, auto&) { l.periodos[0].saldos.pop_back(); }},
      {"SALDO_DEBITOS_CREDITOS", [](Livro& l, auto&) { l.periodos[0].saldos[0].debitos += R(1); }},
      {"SALDO_MOVIMENTO",
       [](Livro&, auto& ls) {
         PartidaDe(ls, 4, 0).valor += R(100);
         PartidaDe(ls, 4, 1).valor += R(100);
       }},
      {"LANCAMENTO_DUPLICADO", [](Livro&, auto& ls) { ls[4].numero = 3; }},
      {"LANCAMENTO_DATA", [](Livro&, auto& ls) { ls[0].data = CQXData::Make(1, 1, 2027); }},
      {"LANCAMENTO_CONTA", [](Livro&, auto& ls) { ls[0].partidas[0].conta = "1.1.1"; }},
      {"CENTRO_CUSTOS", [](Livro&, auto& ls) { ls[1].partidas[1].centro = "30"; }},
      {"HISTORICO_PADRAO", [](Livro&, auto& ls) { ls[1].partidas[0].historicoPadrao = "9"; }},
      {"FORMA_CAMPO",
       [](Livro&, auto& ls) {
         ls[0].partidas[0].valor += 1;
         ls[0].partidas[1].valor += 1;
       }},
      {"FORMA_OBRIGATORIO", [](Livro&, auto& ls) { ls[0].partidas[0].historico.clear(); }},
      {"ENCERRAMENTO_SALDO", [](Livro&, auto& ls) { ls.pop_back(); }},
      {"ENCERRAMENTO_ZERADO", [](Livro& l, auto&) { l.periodos[1].saldos[5].debitos -= R(100); }},
      {"ENCERRAMENTO_EXERCICIO", [](Livro& l, auto&) { l.apuracoes.clear(); }},
      {"ENCERRAMENTO_DATA",
       [](Livro& l, auto&) { l.apuracoes[0].data = CQXData::Make(30, 12, 2026); }},
      {"BALANCO_ATIVO_PASSIVO", [](Livro& l, auto&) { l.balanco[5].final -= R(1); }},
      {"BALANCO_SOMA", [](Livro& l, auto&) { l.balanco[2].final += R(1); }},
      {"BALANCO_NIVEL_1", [](Livro& l, auto&) { l.balanco[9].nivel = 1; }},
      {"DEMONSTRACAO_SALDO", [](Livro& l, auto&) { l.balanco[3].final += R(1); }},
      {"DEMONSTRACAO_I052", [](Livro& l, auto&) { l.balanco[4].codigo = "BANCOS"; }},
      {"DEMONSTRACAO_I052",
       [](Livro& l, auto&) {
         l.aglutinacoes = {{"1.1.1.02", "1.1.1.01", ""}};
       }},
      {"DRE_SOMA", [](Livro& l, auto&) { l.dre[0].final += R(1); }},
      {"DRE_ESTRUTURA", [](Livro& l, auto&) { l.dre[2].superior = "3.2.01"; }},
      {"DEMONSTRACAO_AUSENTE", [](Livro& l, auto&) { l.dre.clear(); }},
  };
  std::vector<Lancamento> certos;
  const Livro padaria = test::LivroPadaria(&certos);
  for (const auto& caso : casos) {
    std::vector<Lancamento> lancamentos = certos;
    Livro livro = padaria;
    livro.lancamentos = [&](const std::function<void(const Lancamento&)>& visita) {
      for (const Lancamento& l : lancamentos) visita(l);
    };
    caso.quebra(livro, lancamentos);
    std::vector<std::string> textos;
    EXPECT_EQ(Regras(Arquivo(livro), &textos).count(caso.regra), 1u)
        << caso.regra << ":\n"
        << ::testing::PrintToString(textos);
  }
}

TEST(ConfereEcd, NamesEachFaultOfTheFilesForm) {
  const struct {
    std::string regra, de, para;
  } casos[] = {
      {"FORMA_CRLF", "|0001|0|\r\n", "|0001|0|\n"},
      {"FORMA_LINHA", "|0001|0|", "0001|0"},
      {"FORMA_REGISTRO", "|0001|0|", "|0001|0|\r\n|0002|x|"},
      {"FORMA_CAMPOS", "|0007|SP|123456789012|", "|0007|SP|"},
      {"FORMA_CAMPO", "|I150|01112026|30112026|", "|I150|01112026|31112026|"},
      {"FORMA_CAMPO", "|I155|1.1.1.01||0,00|D|11500,00|", "|I155|1.1.1.01||0,00|D|11.500,00|"},
      {"FORMA_CAMPO", "|I010|G|9.00|", "|I010|G|8.00|"},
      {"ORDEM_REGISTROS", "|J005|01112026|31122026|1||\r\n", ""},
      {"ORDEM_REGISTROS", "|I001|0|\r\n|I010|G|9.00|", "|I010|G|9.00|\r\n|I001|0|"},
      {"ORDEM_REGISTROS", "|9999|140|", "|9999|140|\r\n|9990|32|"},
      {"CONTAGEM_BLOCO", "|0990|4|", "|0990|5|"},
      {"CONTAGEM_BLOCO", "|9990|32|", "|9990|31|"},
      {"CONTAGEM_9900", "|9900|I250|18|", "|9900|I250|17|"},
      {"CONTAGEM_9900", "|9900|I355|3|\r\n", ""},
      {"CONTAGEM_ARQUIVO", "|9999|140|", "|9999|141|"},
      {"CONTAGEM_ARQUIVO", "|DI\xC1RIO GERAL|140|", "|DI\xC1RIO GERAL|139|"},
      {"SIGNATARIO_QUALIFICACAO", "|Administrador|205|", "|Diretor|205|"},
      {"FORMA_UNICO", "|0001|0|", "|0001|0|\r\n|0001|0|"},
      {"SALDO_FINAL", "|800,00|10700,00|D|", "|800,00|10600,00|D|"},
      {"SALDO_DUPLICADO", "|I155|1.1.1.02||0,00|D|5000,00|0,00|5000,00|D|",
       "|I155|1.1.1.02||0,00|D|5000,00|0,00|5000,00|D|\r\n|I155|1.1.1.02||0,00|D|0,00|0,00|0,00|"
       "D|"},
      {"PERIODO_SALDOS", "|I150|01122026|", "|I150|02122026|"},
      {"PERIODO_ARQUIVO", "|LECD|01112026|", "|LECD|01112025|"},
      {"LANCAMENTO_VALOR", "|I200|1-1|05112026|10000,00|", "|I200|1-1|05112026|1000,00|"},
      {"PLANO_DUPLICADA", "|I050|01112026|01|S|3|1.1.1|1.1|", "|I050|01112026|01|S|3|1.1|1.1|"},
      {"PLANO_AGLUTINACAO", "|I050|01112026|01|S|1|1||ATIVO|",
       "|I050|01112026|01|S|1|1||ATIVO|\r\n|I052||X|"},
      {"PLANO_DATA", "|I050|01112026|01|S|1|1||", "|I050|01012027|01|S|1|1||"},
      {"ENCERRAMENTO_CONTA_RESULTADO", "|I355|3.1.01|", "|I355|1.1.1.01|"},
      {"ENCERRAMENTO_DUPLICADO", "|I350|31122026|", "|I350|31122026|\r\n|I355|3.2.01|20|700,00|D|"},
      {"SIGNATARIO_DUPLICADO", "|J930|Carlos Pereira|11144477735|Administrador|205|||||||S|",
       "|J930|Carlos Pereira|11144477735|Administrador|205|||||||S|\r\n"
       "|J930|Carlos Pereira|11144477735|Administrador|205|||||||N|"},
      {"TERMO_ENCERRAMENTO", "|J900|TERMO DE ENCERRAMENTO|1|", "|J900|TERMO DE ENCERRAMENTO|2|"},
      {"CADASTRO_NOME", "|140|Padaria Modelo Ltda|", "|140|Padaria Modelo|"},
      {"BALANCO_ESTRUTURA", "|J100|1.1|T|2|1|", "|J100|1.1|T|2|2.1|"},
      {"BALANCO_DUPLICADA", "|J100|1.1.1|T|3|", "|J100|1.1|T|3|"},
  };
  std::string certo;
  for (const std::string& linha : test::Padaria()) certo += linha + "\r\n";
  for (const auto& caso : casos) {
    std::string arquivo = certo;
    const size_t onde = arquivo.find(caso.de);
    ASSERT_NE(onde, std::string::npos) << caso.de;
    arquivo.replace(onde, caso.de.size(), caso.para);
    std::vector<std::string> textos;
    EXPECT_EQ(Regras(arquivo, &textos).count(caso.regra), 1u)
        << caso.regra << " (" << caso.de << "):\n"
        << ::testing::PrintToString(textos);
  }
}

}  // namespace
}  // namespace qx::ecd
