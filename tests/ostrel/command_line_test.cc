// The switches of the server's command line and its exit status.
#include "server/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/ostrel_module.h"

namespace qx {
namespace {

using A = AcaoLinhaComando;

// A switch acts after '-' or '/' in any case, blanks around it allowed; the
// first one recognised decides, and every '-' or '/' may start one, also
// inside a word. Other words run the server.
TEST(CommandLineTest, FirstRecognisedSwitchDecides) {
  const std::pair<A, std::vector<const char*>> casos[] = {
      {A::kRegistra, {"-RegServer", "/regserver", "\t-REGSERVER\t", "word -x --RegServer"}},
      {A::kDesregistra,
       {"/UnregServer", "-Embedding /UnregServer -RegServer", "/opt/qx/-unregserver"}},
      {A::kRegistraUsuario, {"-regserverperuser", "-RegServerPerUser -UnregServer"}},
      {A::kDesregistraUsuario, {"/UNREGSERVERPERUSER"}},
      {A::kServidor,
       {"", "RegServer", "-Embedding", "-RegServerX", "-Reg Server", "- RegServer", "-RegServer\n",
        "-", "/"}},
  };
  for (const auto& [acao, linhas] : casos) {
    for (const char* linha : linhas) EXPECT_EQ(InterpretaLinhaComando(linha), acao) << linha;
  }
}

// Without a registration switch, a line asks for the server only with the
// runtime's switches or none: a person's --help, --version or mistyped switch
// gets an answer instead of a server that waits for nobody.
TEST(CommandLineTest, WhatALineWithoutRegistrationAsks) {
  using P = PedidoLinhaComando;
  const std::pair<P, std::vector<std::pair<const char*, const char*>>> casos[] = {
      {P::kServidor,
       {{"", ""},
        {"-Embedding", ""},
        {"/embedding -AUTOMATION", ""},
        {"RegServer word", ""},
        {"-RegServer --bogus", ""},
        {"/opt/qx/-unregserver", ""}}},
      {P::kUso, {{"--help", ""}, {"-h", ""}, {"/?", ""}, {"--bogus -HELP", "--bogus"}}},
      {P::kVersao, {{"--version", ""}, {"-Embedding /version", ""}}},
      {P::kDesconhecida,
       {{"-RegServerX", "-RegServerX"},
        {"-Reg Server", "-Reg"},
        {"- RegServer", "-"},
        {"x --bogus -y", "--bogus"},
        {"/opt/qx", "/opt/qx"}}},
  };
  for (const auto& [pedido, linhas] : casos) {
    for (const auto& [linha, palavra] : linhas) {
      std::string desconhecida;
      EXPECT_EQ(VerificaLinhaComando(linha, &desconhecida), pedido) << linha;
      EXPECT_EQ(desconhecida, palavra) << linha;
    }
  }
}

TEST(CommandLineTest, ExitStatusIsNeverZeroForAFailure) {
  EXPECT_EQ(CodigoSaida(S_OK), 0);
  EXPECT_EQ(CodigoSaida(S_FALSE), 0);
  EXPECT_EQ(CodigoSaida(E_ACCESSDENIED), 5);
  EXPECT_EQ(CodigoSaida(static_cast<HRESULT>(0x80070100u)), 1);
  EXPECT_EQ(CodigoSaida(static_cast<HRESULT>(0x81080C00u)), 1);
}

}  // namespace
}  // namespace qx
