// The writer over a small company's books: the whole file against the one
// checked by hand; and the checker: broken books, each caught by its rule,
// and a file with a problem for each rule of its form.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../storage/qxdump_run.h"
#include "reports/ecd/confere.h"
#include "reports/ecd/demonstracoes.h"
#include "reports/ecd/escreve.h"
#include "reports/ecd/livro.h"

namespace qx::ecd {
namespace {

// A small company's two months, built by hand: a bakery opened in November
// 2026, with two branches, two cost centres, the closing of its result, its
// statements (from its chart) and its two signatories. Its file, checked
// line by line by hand, is Padaria().
int64_t R(int64_t reais) { return reais * 10000; }

Livro LivroPadaria(std::vector<Lancamento>* lancamentos) {
  Livro l;
  l.empresa = {"Padaria Modelo Ltda", "11222333000181", "SP", "3550308", "S\xE3o Paulo",
               "123456789012", "", "35212345678", CQXData::Make(10, 1, 2020), {}, false};
  l.inicio = CQXData::Make(1, 11, 2026);
  l.fim = l.fimExercicio = CQXData::Make(31, 12, 2026);
  l.situacaoInicio = 1;
  // The chart: code, name, nature and whether analytic; the code gives the
  // account above and the level.
  const Natureza A = Natureza::kAtivo, P = Natureza::kPassivo, PL = Natureza::kPatrimonioLiquido,
                 RE = Natureza::kResultado;
  const std::tuple<std::string, std::string, Natureza, bool> contas[] = {
      {"1", "ATIVO", A, false},                    {"1.1", "ATIVO CIRCULANTE", A, false},
      {"1.1.1", "DISPONIVEL", A, false},           {"1.1.1.01", "Caixa", A, true},
      {"1.1.1.02", "Banco", A, true},              {"2", "PASSIVO", P, false},
      {"2.1", "PASSIVO CIRCULANTE", P, false},     {"2.1.1", "FORNECEDORES", P, false},
      {"2.1.1.01", "Fornecedores", P, true},       {"2.3", "PATRIMONIO LIQUIDO", PL, false},
      {"2.3.1", "CAPITAL SOCIAL", PL, false},      {"2.3.1.01", "Capital subscrito", PL, true},
      {"2.3.2", "LUCROS OU PREJUIZOS", PL, false}, {"2.3.2.01", "Lucros acumulados", PL, true},
      {"3", "RESULTADO", RE, false},               {"3.1", "RECEITAS", RE, false},
      {"3.1.01", "Vendas", RE, true},              {"3.2", "DESPESAS", RE, false},
      {"3.2.01", "Aluguel", RE, true}};
  for (const auto& [codigo, nome, natureza, analitica] : contas) {
    const size_t ponto = codigo.rfind('.');
    l.contas.push_back({codigo, ponto == std::string::npos ? "" : codigo.substr(0, ponto), nome,
                        natureza, analitica,
                        1 + static_cast<int>(std::count(codigo.begin(), codigo.end(), '.')), {}});
  }
  l.historicos = {{"1", "Venda a vista"}, {"2", "Pagamento de aluguel"}};
  l.centros = {{"10", "Loja", {}}, {"20", "Administra\xE7\xE3o", {}}};
  l.periodos = {
      {CQXData::Make(1, 11, 2026),
       CQXData::Make(30, 11, 2026),
       {{"1.1.1.01", "", 0, R(11500), R(800)},
        {"2.3.1.01", "", 0, 0, R(10000)},
        {"3.1.01", "10", 0, 0, R(1500)},
        {"3.2.01", "10", 0, R(500), 0},
        {"3.2.01", "20", 0, R(300), 0}}},
      {CQXData::Make(1, 12, 2026),
       CQXData::Make(31, 12, 2026),
       {{"1.1.1.01", "", R(10700), R(2000), R(5000)},
        {"1.1.1.02", "", 0, R(5000), 0},
        {"2.1.1.01", "", 0, 0, R(400)},
        {"2.3.1.01", "", -R(10000), 0, 0},
        {"2.3.2.01", "", 0, R(1200), R(3500)},
        {"3.1.01", "10", -R(1500), R(3500), R(2000)},
        {"3.2.01", "10", R(500), 0, R(500)},
        {"3.2.01", "20", R(300), R(400), R(700)}}},
  };
  // The entries, a line a side: branch, number, day and month, account, centre,
  // amount, side, history and its standard code; the entries of the closing
  // are those of its history.
  const struct {
    uint16_t filial;
    uint64_t numero;
    int dia, mes;
    const char *conta, *centro;
    int64_t reais;
    char dc;
    const char *historico, *padrao = "";
  } partidas[] = {
      {1, 1, 5, 11, "1.1.1.01", "", 10000, 'D', "Integraliza\xE7\xE3o do capital"},
      {1, 1, 5, 11, "2.3.1.01", "", 10000, 'C', "Integraliza\xE7\xE3o do capital"},
      {1, 2, 10, 11, "1.1.1.01", "", 1500, 'D', "Venda a vista NF 15", "1"},
      {1, 2, 10, 11, "3.1.01", "10", 1500, 'C', "Venda a vista NF 15", "1"},
      {2, 1, 20, 11, "3.2.01", "10", 500, 'D', "Aluguel de novembro", "2"},
      {2, 1, 20, 11, "3.2.01", "20", 300, 'D', "Aluguel de novembro", "2"},
      {2, 1, 20, 11, "1.1.1.01", "", 800, 'C', "Aluguel de novembro", "2"},
      {1, 3, 2, 12, "1.1.1.02", "", 5000, 'D', "Dep\xF3sito | banco"},
      {1, 3, 2, 12, "1.1.1.01", "", 5000, 'C', "Dep\xF3sito | banco"},
      {1, 4, 10, 12, "1.1.1.01", "", 2000, 'D', "Venda a vista NF 31", "1"},
      {1, 4, 10, 12, "3.1.01", "10", 2000, 'C', "Venda a vista NF 31", "1"},
      {1, 5, 15, 12, "3.2.01", "20", 400, 'D', "Aluguel \x93" "dep\xF3sito\x94 a pagar"},
      {1, 5, 15, 12, "2.1.1.01", "", 400, 'C', "Aluguel \x93" "dep\xF3sito\x94 a pagar"},
      {1, 6, 31, 12, "3.1.01", "10", 3500, 'D', "Encerramento"},
      {1, 6, 31, 12, "2.3.2.01", "", 3500, 'C', "Encerramento"},
      {1, 7, 31, 12, "2.3.2.01", "", 1200, 'D', "Encerramento"},
      {1, 7, 31, 12, "3.2.01", "10", 500, 'C', "Encerramento"},
      {1, 7, 31, 12, "3.2.01", "20", 700, 'C', "Encerramento"},
  };
  for (const auto& p : partidas) {
    if (lancamentos->empty() || lancamentos->back().filial != p.filial ||
        lancamentos->back().numero != p.numero) {
      lancamentos->push_back({p.filial, p.numero, CQXData::Make(p.dia, p.mes, 2026),
                              std::string(p.historico) == "Encerramento", {}});
    }
    lancamentos->back().partidas.push_back(
        {p.conta, p.centro, R(p.reais), p.dc, "NF", p.padrao, p.historico});
  }
  l.lancamentos = [lancamentos](const std::function<void(const Lancamento&)>& visita) {
    for (const Lancamento& x : *lancamentos) visita(x);
  };
  l.apuracoes = {
      {CQXData::Make(31, 12, 2026),
       {{"3.1.01", "10", -R(3500)}, {"3.2.01", "10", R(500)}, {"3.2.01", "20", R(700)}}}};
  l.signatarios = {
      {"Ana Contadora", "52998224725", "900", "1SP123456", "SP", "", {}, "ana@contab.com.br",
       "1133334444", false},
      {"Carlos Pereira", "11144477735", "205", "", "", "", {}, "", "", true},
  };
  // The statements from the chart's structure; the file below shows them line by line.
  MontaDemonstracoes(&l);
  return l;
}

// The file of LivroPadaria (Latin-1), line by line as checked by hand.
std::string Padaria() {
  std::vector<std::string> linhas = {
      "|0000|LECD|01112026|31122026|Padaria Modelo "
      "Ltda|11222333000181|SP|123456789012|3550308|||1|1|0||0|0||N|N|0|0||",
      "|0001|0|",
      "|0007|SP|123456789012|",
      "|0990|4|",
      "|I001|0|",
      "|I010|G|9.00|",
      "|I030|TERMO DE ABERTURA|1|DI\xC1RIO GERAL|140|Padaria Modelo "
      "Ltda|35212345678|11222333000181|10012020||S\xE3o Paulo|31122026|",
      "|I050|01112026|01|S|1|1||ATIVO|",
      "|I050|01112026|01|S|2|1.1|1|ATIVO CIRCULANTE|",
      "|I050|01112026|01|S|3|1.1.1|1.1|DISPONIVEL|",
      "|I050|01112026|01|A|4|1.1.1.01|1.1.1|Caixa|",
      "|I052||1.1.1.01|",
      "|I050|01112026|01|A|4|1.1.1.02|1.1.1|Banco|",
      "|I052||1.1.1.02|",
      "|I050|01112026|02|S|1|2||PASSIVO|",
      "|I050|01112026|02|S|2|2.1|2|PASSIVO CIRCULANTE|",
      "|I050|01112026|02|S|3|2.1.1|2.1|FORNECEDORES|",
      "|I050|01112026|02|A|4|2.1.1.01|2.1.1|Fornecedores|",
      "|I052||2.1.1.01|",
      "|I050|01112026|03|S|2|2.3|2|PATRIMONIO LIQUIDO|",
      "|I050|01112026|03|S|3|2.3.1|2.3|CAPITAL SOCIAL|",
      "|I050|01112026|03|A|4|2.3.1.01|2.3.1|Capital subscrito|",
      "|I052||2.3.1.01|",
      "|I050|01112026|03|S|3|2.3.2|2.3|LUCROS OU PREJUIZOS|",
      "|I050|01112026|03|A|4|2.3.2.01|2.3.2|Lucros acumulados|",
      "|I052||2.3.2.01|",
      "|I050|01112026|04|S|1|3||RESULTADO|",
      "|I050|01112026|04|S|2|3.1|3|RECEITAS|",
      "|I050|01112026|04|A|3|3.1.01|3.1|Vendas|",
      "|I052||3.1.01|",
      "|I050|01112026|04|S|2|3.2|3|DESPESAS|",
      "|I050|01112026|04|A|3|3.2.01|3.2|Aluguel|",
      "|I052||3.2.01|",
      "|I075|1|Venda a vista|",
      "|I075|2|Pagamento de aluguel|",
      "|I100|01112026|10|Loja|",
      "|I100|01112026|20|Administra\xE7\xE3o|",
      "|I150|01112026|30112026|",
      "|I155|1.1.1.01||0,00|D|11500,00|800,00|10700,00|D|",
      "|I155|2.3.1.01||0,00|D|0,00|10000,00|10000,00|C|",
      "|I155|3.1.01|10|0,00|D|0,00|1500,00|1500,00|C|",
      "|I155|3.2.01|10|0,00|D|500,00|0,00|500,00|D|",
      "|I155|3.2.01|20|0,00|D|300,00|0,00|300,00|D|",
      "|I150|01122026|31122026|",
      "|I155|1.1.1.01||10700,00|D|2000,00|5000,00|7700,00|D|",
      "|I155|1.1.1.02||0,00|D|5000,00|0,00|5000,00|D|",
      "|I155|2.1.1.01||0,00|D|0,00|400,00|400,00|C|",
      "|I155|2.3.1.01||10000,00|C|0,00|0,00|10000,00|C|",
      "|I155|2.3.2.01||0,00|D|1200,00|3500,00|2300,00|C|",
      "|I155|3.1.01|10|1500,00|C|3500,00|2000,00|0,00|D|",
      "|I155|3.2.01|10|500,00|D|0,00|500,00|0,00|D|",
      "|I155|3.2.01|20|300,00|D|400,00|700,00|0,00|D|",
      "|I200|1-1|05112026|10000,00|N||",
      "|I250|1.1.1.01||10000,00|D|NF||Integraliza\xE7\xE3o do capital||",
      "|I250|2.3.1.01||10000,00|C|NF||Integraliza\xE7\xE3o do capital||",
      "|I200|1-2|10112026|1500,00|N||",
      "|I250|1.1.1.01||1500,00|D|NF|1|Venda a vista NF 15||",
      "|I250|3.1.01|10|1500,00|C|NF|1|Venda a vista NF 15||",
      "|I200|2-1|20112026|800,00|N||",
      "|I250|3.2.01|10|500,00|D|NF|2|Aluguel de novembro||",
      "|I250|3.2.01|20|300,00|D|NF|2|Aluguel de novembro||",
      "|I250|1.1.1.01||800,00|C|NF|2|Aluguel de novembro||",
      "|I200|1-3|02122026|5000,00|N||",
      "|I250|1.1.1.02||5000,00|D|NF||Dep\xF3sito   banco||",
      "|I250|1.1.1.01||5000,00|C|NF||Dep\xF3sito   banco||",
      "|I200|1-4|10122026|2000,00|N||",
      "|I250|1.1.1.01||2000,00|D|NF|1|Venda a vista NF 31||",
      "|I250|3.1.01|10|2000,00|C|NF|1|Venda a vista NF 31||",
      "|I200|1-5|15122026|400,00|N||",
      "|I250|3.2.01|20|400,00|D|NF||Aluguel \"dep\xF3sito\" a pagar||",
      "|I250|2.1.1.01||400,00|C|NF||Aluguel \"dep\xF3sito\" a pagar||",
      "|I200|1-6|31122026|3500,00|E||",
      "|I250|3.1.01|10|3500,00|D|NF||Encerramento||",
      "|I250|2.3.2.01||3500,00|C|NF||Encerramento||",
      "|I200|1-7|31122026|1200,00|E||",
      "|I250|2.3.2.01||1200,00|D|NF||Encerramento||",
      "|I250|3.2.01|10|500,00|C|NF||Encerramento||",
      "|I250|3.2.01|20|700,00|C|NF||Encerramento||",
      "|I350|31122026|",
      "|I355|3.1.01|10|3500,00|C|",
      "|I355|3.2.01|10|500,00|D|",
      "|I355|3.2.01|20|700,00|D|",
      "|I990|79|",
      "|J001|0|",
      "|J005|01112026|31122026|1||",
      "|J100|1|T|1||A|ATIVO|0,00|D|12700,00|D||",
      "|J100|1.1|T|2|1|A|ATIVO CIRCULANTE|0,00|D|12700,00|D||",
      "|J100|1.1.1|T|3|1.1|A|DISPONIVEL|0,00|D|12700,00|D||",
      "|J100|1.1.1.01|D|4|1.1.1|A|Caixa|0,00|D|7700,00|D||",
      "|J100|1.1.1.02|D|4|1.1.1|A|Banco|0,00|D|5000,00|D||",
      "|J100|2|T|1||P|PASSIVO|0,00|D|12700,00|C||",
      "|J100|2.1|T|2|2|P|PASSIVO CIRCULANTE|0,00|D|400,00|C||",
      "|J100|2.1.1|T|3|2.1|P|FORNECEDORES|0,00|D|400,00|C||",
      "|J100|2.1.1.01|D|4|2.1.1|P|Fornecedores|0,00|D|400,00|C||",
      "|J100|2.3|T|2|2|P|PATRIMONIO LIQUIDO|0,00|D|12300,00|C||",
      "|J100|2.3.1|T|3|2.3|P|CAPITAL SOCIAL|0,00|D|10000,00|C||",
      "|J100|2.3.1.01|D|4|2.3.1|P|Capital subscrito|0,00|D|10000,00|C||",
      "|J100|2.3.2|T|3|2.3|P|LUCROS OU PREJUIZOS|0,00|D|2300,00|C||",
      "|J100|2.3.2.01|D|4|2.3.2|P|Lucros acumulados|0,00|D|2300,00|C||",
      "|J150|1|3|T|1||RESULTADO|||2300,00|C|R||",
      "|J150|2|3.1|T|2|3|RECEITAS|||3500,00|C|R||",
      "|J150|3|3.1.01|D|3|3.1|Vendas|||3500,00|C|R||",
      "|J150|4|3.2|T|2|3|DESPESAS|||1200,00|D|D||",
      "|J150|5|3.2.01|D|3|3.2|Aluguel|||1200,00|D|D||",
      "|J900|TERMO DE ENCERRAMENTO|1|DI\xC1RIO GERAL|Padaria Modelo Ltda|140|01112026|31122026|",
      "|J930|Ana Contadora|52998224725|Contador/Contabilista|900|1SP123456|ana@contab.com.br|"
      "1133334444|SP|||N|",
      "|J930|Carlos Pereira|11144477735|Administrador|205|||||||S|",
      "|J990|25|",
      "|9001|0|",
  };
  // Block 9: each record's count, in the order they first come.
  linhas.insert(
      linhas.end(),
      {"|9900|0000|1|",  "|9900|0001|1|",  "|9900|0007|1|",  "|9900|0990|1|", "|9900|I001|1|",
       "|9900|I010|1|",  "|9900|I030|1|",  "|9900|I050|19|", "|9900|I052|7|", "|9900|I075|2|",
       "|9900|I100|2|",  "|9900|I150|2|",  "|9900|I155|13|", "|9900|I200|8|", "|9900|I250|18|",
       "|9900|I350|1|",  "|9900|I355|3|",  "|9900|I990|1|",  "|9900|J001|1|", "|9900|J005|1|",
       "|9900|J100|14|", "|9900|J150|5|",  "|9900|J900|1|",  "|9900|J930|2|", "|9900|J990|1|",
       "|9900|9001|1|",  "|9900|9900|29|", "|9900|9990|1|",  "|9900|9999|1|", "|9990|32|",
       "|9999|140|"});
  std::string arquivo;
  for (const std::string& linha : linhas) arquivo += linha + "\r\n";
  return arquivo;
}

std::string Arquivo(const Livro& livro) {
  std::ostringstream saida;
  EscreveEcd(livro, saida);
  return saida.str();
}

// That the checker finds a file breaks `regra` ("": no rule), saying what
// it says of each problem when not.
void QuebraARegra(const std::string& arquivo, const std::string& regra) {
  std::istringstream entrada(arquivo);
  std::set<std::string> regras;
  std::vector<std::string> textos;
  const uint64_t n = ConfereEcd(entrada, [&](const Problema& p) {
    regras.insert(p.regra);
    textos.push_back(TextoProblema(p));
  });
  EXPECT_EQ(n == 0, regras.empty());
  EXPECT_TRUE(regra.empty() ? regras.empty() : regras.contains(regra))
      << regra << ":\n" << ::testing::PrintToString(textos);
}

// The small company's file as checked by hand; then its chart's statements
// with lines gathered under a code (and several roots) still pass.
TEST(EscreveEcd, GivesTheSmallCompanysFileAndStatementsFromTheChart) {
  std::vector<Lancamento> lancamentos;
  Livro livro = LivroPadaria(&lancamentos);
  const std::string arquivo = Arquivo(livro);
  EXPECT_EQ(arquivo, Padaria());
  QuebraARegra(arquivo, "");
  livro.aglutinacoes = {{"1.1.1", "DISP", "Dispon\xEDvel"}};
  for (Conta& c : livro.contas) {
    if (c.codigo.starts_with("3")) c.nivel += c.codigo == "3" ? 0 : -1;
    if (c.codigo == "3.1" || c.codigo == "3.2") c.superior.clear();
  }
  std::erase_if(livro.contas, [](const Conta& c) { return c.codigo == "3"; });
  MontaDemonstracoes(&livro);
  ASSERT_EQ(livro.balanco.size(), 12u);
  EXPECT_EQ(livro.balanco[2],
            (LinhaDemonstracao{"DISP", "1.1", "Dispon\xEDvel", 3, false, 'A', 0, R(12700)}));
  EXPECT_EQ(livro.dre.front().codigo, "R");
  EXPECT_EQ(livro.dre.back().superior, "3.2");
  QuebraARegra(Arquivo(livro), "");
}

// (A file that passes: the closing tests of qxcn.)
TEST(EscreveEcd, QxcnSaysWhereAFileBreaksARuleAndExitsOne) {
  std::vector<Lancamento> lancamentos;
  Livro livro = LivroPadaria(&lancamentos);
  livro.empresa.cnpj = "11222333000180";
  const qx::test::TempDir dir;
  std::ofstream(dir / "ecd.txt", std::ios::binary) << Arquivo(livro);
  const qx::test::DumpRun run = qx::test::RunTool(dir, QX_TEST_BINARY_DIR "/tools/qxcn/qxcn",
                                                  {"ecd", "--conferir", "ecd.txt"});
  EXPECT_EQ(run.code, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("linha 1 (0000) CADASTRO_CNPJ"), std::string::npos) << run.out;
}

TEST(ConfereEcd, NamesTheRuleEachBrokenBookBreaks) {
  using Quebra = std::function<void(Livro&, std::vector<Lancamento>&)>;
  const struct {
    std::string regra;
    Quebra quebra;
  } casos[] = {
      {"LANCAMENTO_PARTIDAS", [](Livro&, auto& ls) { ls[4].partidas.pop_back(); }},
      {"LANCAMENTO_PARTIDAS", [](Livro&, auto& ls) { ls[2].partidas.clear(); }},
      // The chart's accounts: 4 is 1.1.1.02, 8 is 2.1.1.01; the entries: 4 is 1-4.
      {"PLANO_NIVEL_ANALITICA",
       [](Livro& l, auto&) { l.contas[4].nivel = 3, l.contas[4].superior = "1.1"; }},
      {"PLANO_SUPERIOR", [](Livro& l, auto&) { l.contas[4].superior = "1.1.9"; }},
      {"PLANO_SUPERIOR", [](Livro& l, auto&) { l.contas[4].superior = "1.1.1.01"; }},
      {"PLANO_NATUREZA", [](Livro& l, auto&) { l.contas[8].natureza = Natureza::kAtivo; }},
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
       [](Livro&, auto& ls) { for (auto& p : ls[4].partidas) p.valor += R(100); }},
      {"LANCAMENTO_DUPLICADO", [](Livro&, auto& ls) { ls[4].numero = 3; }},
      {"LANCAMENTO_DATA", [](Livro&, auto& ls) { ls[0].data = CQXData::Make(1, 1, 2027); }},
      {"LANCAMENTO_CONTA", [](Livro&, auto& ls) { ls[0].partidas[0].conta = "1.1.1"; }},
      {"CENTRO_CUSTOS", [](Livro&, auto& ls) { ls[1].partidas[1].centro = "30"; }},
      {"HISTORICO_PADRAO", [](Livro&, auto& ls) { ls[1].partidas[0].historicoPadrao = "9"; }},
      {"FORMA_CAMPO", [](Livro&, auto& ls) { for (auto& p : ls[0].partidas) p.valor += 1; }},
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
       [](Livro& l, auto&) { l.aglutinacoes = {{"1.1.1.02", "1.1.1.01", ""}}; }},
      {"DRE_SOMA", [](Livro& l, auto&) { l.dre[0].final += R(1); }},
      {"DRE_ESTRUTURA", [](Livro& l, auto&) { l.dre[2].superior = "3.2.01"; }},
      {"DEMONSTRACAO_AUSENTE", [](Livro& l, auto&) { l.dre.clear(); }},
  };
  for (const auto& caso : casos) {
    std::vector<Lancamento> lancamentos;
    Livro livro = LivroPadaria(&lancamentos);
    caso.quebra(livro, lancamentos);
    QuebraARegra(Arquivo(livro), caso.regra);
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
  const std::string certo = Padaria();
  for (const auto& caso : casos) {
    std::string arquivo = certo;
    const size_t onde = arquivo.find(caso.de);
    ASSERT_NE(onde, std::string::npos) << caso.de;
    arquivo.replace(onde, caso.de.size(), caso.para);
    SCOPED_TRACE(caso.de);
    QuebraARegra(arquivo, caso.regra);
  }
}

}  // namespace
}  // namespace qx::ecd
