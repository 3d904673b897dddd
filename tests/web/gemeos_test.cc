// The JSON twin of each report page is what qxcn --json prints for the same
// options, key for key and figure for figure (the pages add their "pagina").
#include <nlohmann/json.hpp>

#include "web_fixture.h"

namespace qx::test {
namespace {

class Gemeos : public Web {};

TEST_F(Gemeos, ReportPagesAnswerAsQxcnJson) {
  const std::string marco = "de=01/03/2026&ate=31/03/2026";
  const std::vector<std::string> periodo = {"--de", "01/03/2026", "--ate", "31/03/2026"};
  const struct {
    std::string pagina;
    std::vector<std::string> qxcn;
    bool periodo = true;  // the page and qxcn take the March period
  } casos[] = {
      {"balanco?em=31/03/2026&comparar=28/02/2026",
       {"balanco", "--em", "31/03/2026", "--comparar", "28/02/2026"},
       false},
      {"dre?por-mes=1&" + marco, {"dre", "--por-mes"}},
      {"balancete?" + marco, {"balancete"}},
      {"balancete?por-mes=1&nivel=2&" + marco, {"balancete", "--por-mes", "--nivel", "2"}},
      {"extrato?conta=5&" + marco, {"extrato", "--conta", "5"}},
      {"razao?contas=5..31&" + marco, {"razao", "--contas", "5..31"}},
      {"centros?" + marco, {"centros"}},
      {"diferencas?" + marco, {"diferencas"}},
  };
  httplib::Client cliente = Cliente(*web_);
  for (const auto& c : casos) {
    const httplib::Result pagina =
        cliente.Get(("/empresas/DEMO/" + c.pagina + "&formato=json").c_str());
    ASSERT_TRUE(pagina) << c.pagina;
    ASSERT_EQ(pagina->status, 200) << c.pagina << pagina->body;
    nlohmann::json web = nlohmann::json::parse(pagina->body);
    web.erase("pagina");
    std::vector<std::string> argumentos = c.qxcn;
    if (c.periodo) argumentos.insert(argumentos.end(), periodo.begin(), periodo.end());
    EXPECT_EQ(web, RunJson(argumentos)) << c.pagina;
  }
}

// What people get besides: a failure as a sentence with a way back (no
// option syntax, the code only for support), the spreadsheet's CSV, and the
// audit trail newest first.
TEST_F(Gemeos, FailuresSpreadsheetsAndTheTrailForPeople) {
  const struct {
    std::string pagina;
    int status;
    std::vector<std::string> diz;
  } casos[] = {
      {"/empresas/NOPE", 404, {"não existe", "Voltar ao início", "Detalhes para o suporte"}},
      {"/empresas/DEMO/extrato?conta=5&de=32/01/2026", 400, {"«de»", "Voltar à empresa"}},
      {"/empresas/DEMO/lancamentos/2026-03/999", 404, {"não existe", "Voltar à empresa"}},
  };
  httplib::Client cliente = Cliente(*web_);
  for (const auto& c : casos) {
    const httplib::Result pagina = cliente.Get(c.pagina.c_str());
    ASSERT_TRUE(pagina) << c.pagina;
    EXPECT_EQ(pagina->status, c.status) << c.pagina;
    for (const std::string& texto : c.diz) EXPECT_THAT(pagina->body, HasSubstr(texto)) << c.pagina;
    const size_t falha = pagina->body.find("<div class=\"falha\">");
    ASSERT_NE(falha, std::string::npos) << c.pagina;
    const std::string visivel =
        pagina->body.substr(falha, pagina->body.find("<details>", falha) - falha);
    for (const char* oculto : {"0x", "--", "qxadmin"})
      EXPECT_THAT(visivel, Not(HasSubstr(oculto))) << c.pagina;
  }
  const httplib::Result planilha =
      cliente.Get("/empresas/DEMO/lancamentos?mes=2026-03&formato=planilha&tabela=lancamentos");
  ASSERT_TRUE(planilha);
  EXPECT_THAT(planilha->body, testing::StartsWith("\xEF\xBB\xBFmes;pos;data;"));
  EXPECT_THAT(planilha->body, HasSubstr("03/2026;2;12/03/2026;0;5;6;2000,00;"));
  const httplib::Result trilha = cliente.Get("/empresas/DEMO/historico?mes=2026-03&formato=json");
  ASSERT_TRUE(trilha);
  const nlohmann::json eventos = nlohmann::json::parse(trilha->body)["historico"];
  ASSERT_GT(eventos.size(), 1u);
  EXPECT_GT(eventos.front()["momento"], eventos.back()["momento"]);
}

}  // namespace
}  // namespace qx::test
