// The pages as a browser renders them: headless Chromium loads pages of the
// test company from qxweb and the DOM shows the figures qxcn saved; the CSV
// a page links to downloads with the same figures in exact form.
#include "web_fixture.h"

namespace qx::test {
namespace {

class Navegador : public Web {
 protected:
  void SetUp() override {
    if (TemChromium()) return;
    // scripts/test installs it and asks for it; elsewhere the test steps aside.
    if (std::getenv("QX_EXIGE_NAVEGADOR") != nullptr) FAIL() << "chromium não está instalado";
    GTEST_SKIP() << "chromium não está instalado: scripts/deps chromium";
  }
};

TEST_F(Navegador, PagesShowWhatWasSaved) {
  const struct {
    const char* pagina;
    const char* id;  // of the part of the page that shows them
    std::vector<std::string> figuras;
  } casos[] = {
      {"/empresas/DEMO/lancamentos/2026-03/1", "lancamento", {"Aluguel de março"}},
      {"/empresas/DEMO/lancamentos/2026-03/1", "gerencial", {">500,00<", ">1,50<", ">300,00<",
                                                             ">2,25<"}},
      {"/empresas/DEMO/lancamentos/2026-03/1", "nota", {"Conferido com o contrato"}},
      {"/empresas/DEMO/lancamentos/2026-03/1", "historico", {">novo<", ">alterado<",
                                                             ">complemento<", ">Aluguel<"}},
      {"/empresas/DEMO/lancamentos/2026-03/2", "lancamento", {">370,37<"}},
      {"/empresas/DEMO?ano=2026", "meses", {">2.800,00<"}},
      {"/empresas/DEMO/lancamentos?mes=2026-03", "lancamentos", {"Recebimento do exterior"}},
      {"/empresas/DEMO/balancete?de=01/03/2026&ate=31/03/2026", "balancete",
       {"<details", "<summary>", ">1.200,00<", ">-2.000,00<", ">Saldo anterior<",
        ">Saldo final<", "Bancos conta movimento"}},
      {"/empresas/DEMO/extrato?conta=5&de=12/03/2026&ate=31/03/2026", "extrato",
       {">Contrapartida<", ">Débito<", ">6 Clientes<"}},
      {"/empresas/DEMO/balancete?de=01/03/2026&ate=31/03/2026", "totais",
       {"Débitos 2.800,00 e créditos 2.800,00: iguais"}},
      {"/empresas/DEMO/extrato?conta=5&de=12/03/2026&ate=31/03/2026", "totais",
       {"Saldo anterior a 12/03/2026 (lançamentos desde 01/01/2026): -800,00",
        "Saldo final 1.200,00"}},
      {"/empresas/DEMO/centros?de=01/03/2026&ate=31/03/2026", "totais",
       {"Total rateado 800,00, quantidade 3,75"}},
  };
  std::map<std::string, std::string> doms;
  for (const auto& c : casos) {
    if (!doms.count(c.pagina)) doms[c.pagina] = Dom(c.pagina);
    const std::string parte = ParteDoDom(doms[c.pagina], c.id);
    for (const std::string& figura : c.figuras) {
      EXPECT_THAT(parte, HasSubstr(figura)) << c.pagina << " #" << c.id;
    }
  }
  EXPECT_THAT(doms["/empresas/DEMO/extrato?conta=5&de=12/03/2026&ate=31/03/2026"],
              HasSubstr("<polyline"));
  EXPECT_THAT(doms["/empresas/DEMO?ano=2026"], HasSubstr("<svg"));
}

TEST_F(Navegador, TheCsvAPageLinksTo) {
  const std::string dom = Dom("/empresas/DEMO/lancamentos?mes=2026-03");
  const std::string marca = "formato=csv&amp;tabela=lancamentos";
  const size_t link = dom.find(marca);
  ASSERT_NE(link, std::string::npos);
  std::string endereco = dom.substr(dom.rfind("href=\"", link) + 6);
  endereco.erase(endereco.find('"'));
  for (size_t e = endereco.find("&amp;"); e != std::string::npos; e = endereco.find("&amp;", e)) {
    endereco.replace(e, 5, "&");
  }
  httplib::Client cliente = Cliente(*web_);
  const httplib::Result csv = cliente.Get(endereco.c_str());
  ASSERT_TRUE(csv);
  EXPECT_EQ(csv->status, 200);
  EXPECT_THAT(csv->get_header_value("Content-Type"), HasSubstr("text/csv"));
  EXPECT_THAT(csv->get_header_value("Content-Disposition"),
              HasSubstr("attachment; filename=\"DEMO-lancamentos.csv\""));
  EXPECT_THAT(csv->body, HasSubstr("mes,pos,data,documento,debito,credito,valor"));
  EXPECT_THAT(csv->body, HasSubstr("2026-03,2,2026-03-12,0,5,6,2000.00,"));
}

}  // namespace
}  // namespace qx::test
