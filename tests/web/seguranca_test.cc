// Who qxweb lets in: the addresses that are this machine, the Host headers
// that name it, the secret compared whole, and where a request carries it.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qxweb
