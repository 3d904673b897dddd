// Who qxweb serves, end to end: a server that would listen beyond this
// machine without a secret does not start; a request without the secret gets
// 401 and no data, also from another user of the machine; the address shown
// at start and the login page set the cookie that lets it in; wrong secrets
// slow the next; only a loopback Host is served; and
// silent or slow connections keep no page from being served.
#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>

#include "web_fixture.h"

namespace qx::test {
namespace {

using Acesso = Web;

// Secret files refused, and addresses beyond this machine without one.
TEST_F(Acesso, SecretsAndAddressesThatAreRefused) {
  const std::string ruim = *dir_ / "segredo-ruim";
  const struct {
    const char* conteudo;  // of the secret file, when there is one
    unsigned modo;
    std::vector<std::string> args;
    int codigo;
    const char* motivo;
  } casos[] = {
      {"curto-demais\n", 0600, {"--token-arquivo", ruim}, 1, "menos de 16"},
      {"tem brancos no meio 0123456\n", 0600, {"--token-arquivo", ruim}, 1, "brancos"},
      {"um-segredo-de-teste-0123456789\n", 0640, {"--token-arquivo", ruim}, 1, "modo 0640"},
      {nullptr, 0, {"--token-arquivo", *dir_ / "nao-existe"}, 1, "não consigo ler"},
      {nullptr, 0, {"--endereco", "0.0.0.0", "--porta", "0"}, 2, "exige --token-arquivo"},
      {nullptr, 0, {"--sem-segredo", "--endereco", "0.0.0.0"}, 2, "exige --token-arquivo"},
  };
  for (const auto& c : casos) {
    if (c.conteudo != nullptr) {
      WriteText(ruim, c.conteudo);
      ASSERT_EQ(chmod(ruim.c_str(), c.modo), 0);
    }
    const DumpRun run = RunTool(*dir_, ToolBinary("qxweb"), c.args);
    EXPECT_EQ(run.code, c.codigo) << c.args[0] << " " << c.args[1];
    EXPECT_THAT(run.err, HasSubstr(c.motivo)) << c.args[0] << " " << c.args[1];
  }
}

TEST_F(Acesso, ARequestWithoutTheSecretGetsNothing) {
  const std::string segredo = "um-segredo-de-teste-0123456789";
  WriteText(*dir_ / "segredo", segredo + "\n");
  ASSERT_EQ(chmod((*dir_ / "segredo").c_str(), 0600), 0);
  const Qxweb web = Proprio({"--porta", "0", "--token-arquivo", *dir_ / "segredo"}, "protegido");
  EXPECT_THAT(web.url, Not(HasSubstr(segredo)));  // the file is the way to it
  httplib::Client cliente = Cliente(web);
  for (const char* caminho : {"/", "/empresas/DEMO?formato=json",
                              "/empresas/DEMO/lancamentos/2026-03/1?formato=csv&tabela=nota"}) {
    const httplib::Result sem = cliente.Get(caminho);
    ASSERT_TRUE(sem) << caminho;
    EXPECT_EQ(sem->status, 401) << caminho;
    for (const char* dado : {"DEMO", "Aluguel", "meses", "800"}) {
      EXPECT_THAT(sem->body, Not(HasSubstr(dado))) << caminho;
    }
  }
  const httplib::Result certo =
      cliente.Post("/entrar", "segredo=" + segredo, "application/x-www-form-urlencoded");
  ASSERT_TRUE(certo);
  EXPECT_EQ(certo->status, 303);
  const std::string cookie = certo->get_header_value("Set-Cookie");
  EXPECT_THAT(cookie, HasSubstr("HttpOnly"));
  EXPECT_THAT(cookie, Not(HasSubstr(segredo)));
  const struct {
    httplib::Headers cabecalhos;
    int status;
  } casos[] = {
      {{{"Authorization", "Bearer " + segredo}}, 200},
      {{{"Cookie", cookie.substr(0, cookie.find(';'))}}, 200},
      {{{"Cookie", "qxweb=" + segredo}}, 401},  // the secret is no cookie
      {{{"Cookie", cookie.substr(0, cookie.find(';') - 1)}}, 401},
      {{{"Host", "127.0.0.1"}, {"Host", "127.0.0.1"}, {"Authorization", "Bearer " + segredo}}, 400},
      // Only a loopback Host is served.
      {{{"Host", "example.com"}, {"Authorization", "Bearer " + segredo}}, 403},
      {{{"Host", "localhost:" + std::to_string(web.porta)}, {"Authorization", "Bearer " + segredo}},
       200},
      // Each wrong secret makes the next try wait: the right one too, the cookie not.
      {{{"Authorization", "Bearer " + segredo.substr(1)}}, 401},
      {{{"Authorization", "Bearer " + segredo}}, 429},
      {{{"Cookie", cookie.substr(0, cookie.find(';'))}}, 200},
  };
  for (const auto& c : casos) {
    const httplib::Result com = cliente.Get("/", c.cabecalhos);
    ASSERT_TRUE(com);
    EXPECT_EQ(com->status, c.status) << c.cabecalhos.rbegin()->second;
    EXPECT_EQ(com->body.find("DEMO") != std::string::npos, com->status == 200);
  }
  EXPECT_EQ(Para(web).code, 0);
}

TEST_F(Acesso, TheSecretMadeAtStartIsInTheAddressAndNoOtherUserHasIt) {
  const Qxweb web = Proprio({"--porta", "0", "--empresa", "DEMO"}, "segredo-gerado");
  ASSERT_NE(web.url.find("/empresas/DEMO?segredo="), std::string::npos) << web.url;
  const std::string caminho = web.url.substr(web.url.find('/', 7));
  httplib::Client cliente = Cliente(web);
  const httplib::Result sem = cliente.Get("/empresas/DEMO");
  ASSERT_TRUE(sem);
  EXPECT_EQ(sem->status, 401);
  // The address sets the cookie and leads to itself without the secret.
  const httplib::Result aberto = cliente.Get(caminho.c_str());
  ASSERT_TRUE(aberto);
  EXPECT_EQ(aberto->status, 303);
  EXPECT_EQ(aberto->get_header_value("Location"), "/empresas/DEMO");
  const std::string cookie = aberto->get_header_value("Set-Cookie");
  const httplib::Result dentro =
      cliente.Get("/empresas/DEMO", {{"Cookie", cookie.substr(0, cookie.find(';'))}});
  ASSERT_TRUE(dentro);
  EXPECT_EQ(dentro->status, 200);
  // Another user of the machine reaches the port, and gets 401 and no data.
  if (geteuid() != 0) GTEST_SKIP() << "the rest needs root to act as another user";
  Child outro([&](Child&) {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) return 10;
    httplib::Client dele = Cliente(web);
    const httplib::Result pedido = dele.Get("/empresas/DEMO?formato=json");
    if (!pedido) return 11;
    return pedido->status == 401 && pedido->body.find("Aluguel") == std::string::npos ? 0 : 12;
  });
  const int codigo = outro.Wait();
  if (codigo == 10) GTEST_SKIP() << "cannot act as another user here";
  EXPECT_EQ(codigo, 0);
  EXPECT_EQ(Para(web).code, 0);
}

TEST_F(Acesso, SilentAndSlowConnectionsLeaveThePagesAnswering) {
  // 200 connections that send nothing, and 8 that send a line of their head each second.
  httplib::Client cliente("127.0.0.1", web_->porta);
  ASSERT_TRUE(cliente.Get("/"));  // the entry server runs: what is timed is qxweb's answer
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_port = htons(static_cast<uint16_t>(web_->porta));
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::vector<int> conexoes;
  for (int i = 0; i < 208; ++i) {
    conexoes.push_back(socket(AF_INET, SOCK_STREAM, 0));
    EXPECT_EQ(connect(conexoes.back(), reinterpret_cast<sockaddr*>(&endereco), sizeof endereco), 0);
  }
  std::atomic<bool> fim = false;
  std::thread lentas([&] {
    for (int linha = 0; !fim; ++linha) {
      for (size_t i = 200; i < conexoes.size(); ++i) {
        const std::string texto = linha == 0 ? "GET / HTTP/1.1\r\n" : "X-Lenta: sim\r\n";
        EXPECT_EQ(send(conexoes[i], texto.data(), texto.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(texto.size()));
      }
      for (int espera = 0; espera < 10 && !fim; ++espera) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  // A second, or three under the sanitizers.
  const int segundos = kAddressSanitizer ? 3 : 1;
  cliente.set_connection_timeout(segundos);
  cliente.set_read_timeout(segundos);
  const auto inicio = std::chrono::steady_clock::now();
  const httplib::Result pagina = cliente.Get("/");
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - inicio);
  RecordProperty("resposta_ms", static_cast<int>(ms.count()));
  fim = true;
  lentas.join();
  for (const int conexao : conexoes) close(conexao);
  ASSERT_TRUE(pagina) << "no answer within " << segundos << " s";
  EXPECT_EQ(pagina->status, 200);
}

}  // namespace
}  // namespace qx::test
