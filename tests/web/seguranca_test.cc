// Who qxweb lets in: the addresses that are this machine, the Host headers
// that name it, the secret compared whole, where a request carries it, what
// its cookie holds and how wrong secrets slow the next ones; and when the
// front hands a request over.
#include <gtest/gtest.h>

#include "frente.h"
#include "resumo.h"
#include "seguranca.h"

namespace qxweb {
namespace {

TEST(Seguranca, LoopbackAddressesAndHosts) {
  const struct {
    const char* texto;
    bool endereco;  // EhLoopback
    bool host;      // HostLocal
  } casos[] = {
      {"127.0.0.1", true, true},
      {"127.255.3.9", true, true},
      {"localhost", true, true},
      {"::1", true, false},  // a bare IPv6 address is no Host header
      {"[::1]", true, true},
      {"127.0.0.1:8040", false, true},
      {"localhost:8040", false, true},
      {"[::1]:8040", false, true},
      {"0.0.0.0", false, false},
      {"128.0.0.1", false, false},
      {"127.0.0", false, false},
      {"127.0.0.1.5", false, false},
      {"127.0.0.256", false, false},
      {"127.0..1", false, false},
      {"127.0.0.1.example.com", false, false},
      {"localhost.example.com:8040", false, false},
      {"example.com", false, false},
      {"[::2]:8040", false, false},
      {"", false, false},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(EhLoopback(c.texto), c.endereco) << c.texto;
    EXPECT_EQ(HostLocal(c.texto), c.host) << c.texto;
  }
}

TEST(Seguranca, SecretIsComparedWhole) {
  const std::string segredo = "s3gredo-de-teste-0123";
  const struct {
    std::string dado;
    bool aceito;
  } casos[] = {
      {segredo, true},
      {"", false},
      {segredo.substr(0, segredo.size() - 1), false},
      {segredo + "x", false},
      {"S3gredo-de-teste-0123", false},
      {std::string(segredo.size(), 'a'), false},
  };
  for (const auto& c : casos) EXPECT_EQ(MesmoSegredo(c.dado, segredo), c.aceito) << c.dado;
}

TEST(Seguranca, SecretOfARequest) {
  const struct {
    const char* cookie;
    const char* autorizacao;
    const char* segredo;
  } casos[] = {
      {"qxweb=abc", "", "abc"},
      {"a=1; qxweb=abc; b=2", "", "abc"},
      {"xqxweb=abc; qxwebx=def", "", ""},
      {"", "Bearer  abc ", "abc"},
      {"qxweb=abc", "Bearer def", "abc"},
      {"", "Basic abc", ""},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(SegredoDoPedido(c.cookie, c.autorizacao), c.segredo) << c.cookie << c.autorizacao;
  }
}

TEST(Seguranca, TheCookieHoldsAnHmacOfTheSecret) {
  // RFC 4231, test cases 2 and 6 (a key longer than a block).
  EXPECT_EQ(HmacSha256Hex("Jefe", "what do ya want for nothing?"),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
  EXPECT_EQ(HmacSha256Hex(std::string(131, '\xaa'),
                          "Test Using Larger Than Block-Size Key - Hash Key First"),
            "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
  EXPECT_EQ(CookieDoSegredo("s3gredo"), HmacSha256Hex("s3gredo", kCookie));
  const std::string segredo = GeraSegredo();
  EXPECT_EQ(segredo.size(), 32u);
  EXPECT_EQ(segredo.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(segredo, GeraSegredo());
}

TEST(Seguranca, EachWrongSecretDoublesTheWait) {
  Tentativas tentativas;
  EXPECT_EQ(tentativas.Espera(), 0);
  for (const int espera : {1, 2, 4}) {
    tentativas.Errou();
    EXPECT_EQ(tentativas.Espera(), espera);
  }
  tentativas.Acertou();
  tentativas.Errou();
  EXPECT_EQ(tentativas.Espera(), 1);
  for (int i = 0; i < 10; ++i) tentativas.Errou();
  EXPECT_EQ(tentativas.Espera(), Tentativas::kMaiorEspera.count());
}

TEST(Frente, ARequestIsHandedOverWhole) {
  using qx::Arrival;
  const std::string cabeca = "POST /entrar HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  const struct {
    std::string recebido;
    Arrival esperado;
  } casos[] = {
      {"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n", Arrival::kMore},
      {"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", Arrival::kWhole},
      {cabeca + "content-length:  5 \r\n\r\nsegr", Arrival::kMore},
      {cabeca + "Content-Length: 5\r\n\r\nsegre", Arrival::kWhole},
      {cabeca + "Content-Length: 4097\r\n\r\n", Arrival::kRefused},
      {cabeca + "Content-Length: 5x\r\n\r\nsegre", Arrival::kRefused},
      {cabeca + "Content-Length: 5\r\nContent-Length: 5\r\n\r\nsegre", Arrival::kRefused},
      {cabeca + "Transfer-Encoding: chunked\r\n\r\n", Arrival::kRefused},
      {std::string(kMaiorCabeca + 1, 'a'), Arrival::kRefused},
      {"GET / HTTP/1.1\r\nX: " + std::string(kMaiorCabeca, 'a') + "\r\n\r\n",
       Arrival::kRefused},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(PedidoInteiro(c.recebido), c.esperado) << c.recebido.substr(0, 80);
  }
}

}  // namespace
}  // namespace qxweb
