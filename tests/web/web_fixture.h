// The fixture of the qxweb tests: the tools' installation, its company DEMO
// keeping managerial quantities too and its period the year 2026, a few
// entries recorded with qxcn as people record them, and qxweb started on a
// free loopback port, as people start it.
#pragma once

#include <httplib.h>

#include <map>

#include "../qxcn/qxcn_fixture.h"

namespace qx::test {

using ::testing::Not;

// A qxweb running in the background, its output caught in its folder.
struct Qxweb {
  std::string pasta;
  std::string url;  // "http://127.0.0.1:PORT/..."
  std::string host;
  int porta = 0;
};

class Web : public Qxcn {
 protected:
  static void SetUpTestSuite() {
    Qxcn::SetUpTestSuite();
    for (const auto& [tool, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
        {"qxadmin", {"config", "set", "DEMO", "managerial-quantities", "1"}},
        {"qxadmin", {"config", "set", "DEMO", "period-end", "31/12/2026"}},
        // The rent, split over two cost centres with quantities, then its
        // complement put right; a receipt from abroad; a note on the rent.
        {"qxcn", Lanca("05/03/2026", "31", "5", "800,00",
                       {"--historico", "1", "--complemento", "Aluguel", "--gerencial", "2:500,00",
                        "--gerencial", "3:300,00", "--quantidade", "1,5", "--quantidade", "2,25"})},
        {"qxcn", {"grava", "--mes", "03/2026", "--pos", "1", "--complemento",
                  "Aluguel de março"}},
        {"qxcn", Lanca("12/03/2026", "5", "6", "2.000,00",
                       {"--moeda", "370,37", "--complemento", "Recebimento do exterior"})},
        {"qxcn", {"notas", "grava", "--mes", "03/2026", "--chave", "1", "--texto",
                  "Conferido com o contrato"}},
    }) {
      const DumpRun run = RunTool(*dir_, ToolBinary(tool), args);
      ASSERT_EQ(run.code, 0) << tool << ": " << run.err;
    }
    // The pages' tests read without the secret, which the access tests ask for.
    web_ = new Qxweb(Inicia({"--porta", "0", "--sem-segredo"}, "web"));
  }
  static void TearDownTestSuite() {
    Para(*web_);
    delete web_;
    Qxcn::TearDownTestSuite();
  }

  // Starts qxweb with `args` and waits for the address it prints.
  static Qxweb Inicia(const std::vector<std::string>& args, const std::string& nome) {
    Qxweb web{Start(args, nome, "qxweb"), "", "", 0};
    const std::string prefixo = "qxweb: abra http://";
    Until([&] { return ReadText(web.pasta + "/out").find('\n') != std::string::npos; });
    const std::string saida = ReadText(web.pasta + "/out");
    EXPECT_THAT(saida, HasSubstr(prefixo)) << ReadText(web.pasta + "/err");
    if (saida.find(prefixo) == std::string::npos) return web;
    web.url = saida.substr(prefixo.size() - 7);
    web.url.erase(web.url.find_first_of("\r\n"));
    web.host = web.url.substr(7, web.url.find('/', 7) - 7);
    web.porta = std::atoi(web.host.substr(web.host.rfind(':') + 1).c_str());
    return web;
  }

  // A qxweb of the test's own, stopped at the test's end if the test did not
  // (a failed assertion included).
  Qxweb Proprio(const std::vector<std::string>& args, const std::string& nome) {
    proprios_.push_back(Inicia(args, nome));
    return proprios_.back();
  }
  void TearDown() override {
    for (const Qxweb& web : proprios_) {
      if (!std::filesystem::exists(web.pasta + "/rc")) Para(web);
    }
  }

  // Asks it to stop as Ctrl-C does, and waits for its end.
  static DumpRun Para(const Qxweb& web) {
    EXPECT_EQ(std::system(("kill -TERM " + ReadText(web.pasta + "/pid")).c_str()), 0);
    return Finish(web.pasta);
  }

  static bool TemChromium() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }

  // The DOM headless Chromium renders for a page of the running qxweb.
  static std::string Dom(const std::string& caminho) {
    const TempDir perfil;
    const DumpRun run = RunTool(
        *dir_, "timeout",
        {"60", "chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--user-data-dir=" + perfil.path(), "--dump-dom",
         "http://" + web_->host + caminho});
    EXPECT_EQ(run.code, 0) << run.err;
    return run.out;
  }

  // The part of a page from the element of that id to the next element
  // with an id; "" when the page has none.
  static std::string ParteDoDom(const std::string& dom, const std::string& id) {
    const size_t inicio = dom.find(" id=\"" + id + "\"");
    if (inicio == std::string::npos) return "";
    return dom.substr(inicio, dom.find(" id=\"", inicio + 1) - inicio);
  }

  static httplib::Client Cliente(const Qxweb& web) {
    httplib::Client cliente("127.0.0.1", web.porta);
    cliente.set_read_timeout(60);
    return cliente;
  }

  std::vector<Qxweb> proprios_;
  static inline Qxweb* web_ = nullptr;
};

}  // namespace qx::test
