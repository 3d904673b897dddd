// The JSON twin of each report page is what qxcn --json prints for the same
// options, key for key and figure for figure (the pages add their "pagina").
#include <nlohmann/json.hpp>

#include "web_fixture.h"

namespace qx::test {
namespace {

class Gemeos : public Web {};

TEST_F(Gemeos, ReportPagesAnswerAsQxcnJson) {
  const std::string marco = "de=01/03/2026&ate=31/03/2026";
  const std::vector<std::string> periodo = {"--de", "01/03/2026", "--ate", "31/03/2026", "--json"};
  const struct {
    std::string pagina;
    std::vector<std::string> qxcn;
    bool periodo = true;  // the page and qxcn take the March period
  } casos[] = {
      {"balanco?em=31/03/2026&comparar=28/02/2026",
       {"balanco", "--em", "31/03/2026", "--comparar", "28/02/2026", "--json"},
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
    const DumpRun qxcn = RunTool(*dir_, Binary("qxcn"), argumentos);
    ASSERT_EQ(qxcn.code, 0) << qxcn.err;
    EXPECT_EQ(web, nlohmann::json::parse(qxcn.out)) << c.pagina;
  }
}

}  // namespace
}  // namespace qx::test
