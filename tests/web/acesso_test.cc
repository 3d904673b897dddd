// Who qxweb serves, end to end: a server that would listen beyond this
// machine without a secret does not start; with a secret, a request without
// it gets 401 and no data, the login page sets the cookie that lets it in;
// a loopback server answers only to a loopback Host.
#include "web_fixture.h"

namespace qx::test {
namespace {

class Acesso : public Web {};

TEST_F(Acesso, AnAddressBeyondThisMachineNeedsASecret) {
  const DumpRun run = RunTool(*dir_, Binary("qxweb"), {"--endereco", "0.0.0.0", "--porta", "0"});
  EXPECT_EQ(run.code, 2);
  EXPECT_THAT(run.err, HasSubstr("exige --token-arquivo"));
}

TEST_F(Acesso, SecretsThatAreRefused) {
  const struct {
    const char* conteudo;
    const char* motivo;
  } casos[] = {{"curto-demais\n", "menos de 16"}, {"tem brancos no meio 0123456\n", "brancos"}};
  for (const auto& c : casos) {
    WriteText(*dir_ / "segredo-ruim", c.conteudo);
    const DumpRun run =
        RunTool(*dir_, Binary("qxweb"), {"--token-arquivo", *dir_ / "segredo-ruim"});
    EXPECT_EQ(run.code, 1) << c.conteudo;
    EXPECT_THAT(run.err, HasSubstr(c.motivo));
  }
  const DumpRun ausente =
      RunTool(*dir_, Binary("qxweb"), {"--token-arquivo", *dir_ / "nao-existe"});
  EXPECT_EQ(ausente.code, 1);
}

TEST_F(Acesso, ARequestWithoutTheSecretGetsNothing) {
  const std::string segredo = "um-segredo-de-teste-0123456789";
  WriteText(*dir_ / "segredo", segredo + "\n");
  const Qxweb web = Inicia({"--porta", "0", "--token-arquivo", *dir_ / "segredo"}, "protegido");
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
  const struct {
    httplib::Headers cabecalhos;
    int status;
  } casos[] = {
      {{{"Authorization", "Bearer " + segredo}}, 200},
      {{{"Cookie", "qxweb=" + segredo}}, 200},
      {{{"Cookie", "qxweb=" + segredo + "x"}}, 401},
      {{{"Authorization", "Bearer " + segredo.substr(1)}}, 401},
  };
  for (const auto& c : casos) {
    const httplib::Result com = cliente.Get("/", c.cabecalhos);
    ASSERT_TRUE(com);
    EXPECT_EQ(com->status, c.status) << c.cabecalhos.begin()->second;
  }

  const httplib::Result errado = cliente.Post("/entrar", "segredo=outro", "application/x-www-form-urlencoded");
  ASSERT_TRUE(errado);
  EXPECT_EQ(errado->status, 401);
  EXPECT_FALSE(errado->has_header("Set-Cookie"));
  const httplib::Result certo =
      cliente.Post("/entrar", "segredo=" + segredo, "application/x-www-form-urlencoded");
  ASSERT_TRUE(certo);
  EXPECT_EQ(certo->status, 303);
  const std::string cookie = certo->get_header_value("Set-Cookie");
  EXPECT_THAT(cookie, HasSubstr("HttpOnly"));
  const httplib::Result dentro =
      cliente.Get("/", {{"Cookie", cookie.substr(0, cookie.find(';'))}});
  ASSERT_TRUE(dentro);
  EXPECT_EQ(dentro->status, 200);
  EXPECT_THAT(dentro->body, HasSubstr("DEMO"));
  EXPECT_EQ(Para(web).code, 0);
}

TEST_F(Acesso, OnlyALoopbackHostIsServed) {
  httplib::Client cliente = Cliente(*web_);
  const httplib::Result alheio = cliente.Get("/", {{"Host", "example.com"}});
  ASSERT_TRUE(alheio);
  EXPECT_EQ(alheio->status, 403);
  EXPECT_THAT(alheio->body, Not(HasSubstr("DEMO")));
  const httplib::Result local = cliente.Get("/", {{"Host", "localhost:" + std::to_string(web_->porta)}});
  ASSERT_TRUE(local);
  EXPECT_EQ(local->status, 200);
}

}  // namespace
}  // namespace qx::test
