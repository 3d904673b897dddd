// The server's pieces in process: the switches of its command line and its
// exit status, the module's lock count, its shutdown monitor and its class
// object, and the child-process runner of the reachability test.
#include "server/command_line.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../storage/folders_test_registry.h"
#include "contract/interface_ids.h"
#include "contract/iqxcn_lancamento.h"
#include "platform/child_output.h"
#include "server/class_factory.h"
#include "server/exe_module.h"
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
  const std::pair<HRESULT, int> casos[] = {{S_OK, 0}, {S_FALSE, 0}, {E_ACCESSDENIED, 5},
      {static_cast<HRESULT>(0x80070100u), 1}, {static_cast<HRESULT>(0x81080C00u), 1}};
  for (const auto& [hr, codigo] : casos) EXPECT_EQ(CodigoSaida(hr), codigo) << hr;
}

constexpr uint32_t kShortIdle = 200;
constexpr uint32_t kBound = 20000;  // never reached unless the monitor is broken

TEST(ModuleTest, MonitorEndsTheProcessOnlyOnceTheLastLockIsGone) {
  {
    // A module whose monitor still waits ends without hanging.
    ExeModule waiting(kShortIdle);
    waiting.Lock();
    waiting.StartMonitor();
  }
  ExeModule module(kShortIdle);
  module.StartMonitor();
  for (int i = 0; i < 5; ++i) {  // objects coming and going
    module.Lock();
    module.Unlock();
  }
  module.Lock();
  module.Lock();
  module.SinalizaOcioso();
  EXPECT_EQ(module.Unlock(), 1);
  // An object still lives: the idle time passes without an end.
  EXPECT_FALSE(module.AguardaFim(3 * kShortIdle));
  EXPECT_EQ(module.Unlock(), 0);
  EXPECT_TRUE(module.AguardaFim(kBound));
  EXPECT_EQ(module.GetLockCount(), 0);
}

TEST(ModuleTest, ClassObjectChecksItsArgumentsAndCountsServerLocks) {
  TestRegistry registry;
  ExeModule module;
  FabricaLancamento factory(module);
  void* object = nullptr;
  EXPECT_EQ(factory.CreateInstance(nullptr, IID_IQXCN_Lancamento, nullptr), E_POINTER);
  EXPECT_EQ(factory.CreateInstance(&factory, IID_IQXCN_Lancamento, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory.CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  ASSERT_EQ(factory.CreateInstance(nullptr, IID_IQXCN_Lancamento, &object), S_OK);
  ASSERT_NE(object, nullptr);
  int32_t ok = 0;
  EXPECT_EQ(static_cast<IQXCN_Lancamento*>(object)->KeepAlive(&ok), S_OK);
  EXPECT_EQ(ok, 1);
  static_cast<IUnknown*>(object)->Release();

  EXPECT_EQ(factory.QueryInterface(IID_IClassFactory, &object), S_OK);
  EXPECT_EQ(object, static_cast<IClassFactory*>(&factory));
  EXPECT_EQ(factory.LockServer(1), S_OK);
  EXPECT_EQ(module.GetLockCount(), 1);
  EXPECT_EQ(factory.LockServer(0), S_OK);
  EXPECT_EQ(module.GetLockCount(), 0);
}

TEST(ChildOutputTest, TakesTheWholeOutputOfAProgramWithinBounds) {
  std::string output = "old";
  EXPECT_EQ(
      RunForOutput({"sh", "-c", "echo one; echo two >&2; printf 'x%.0s' $(seq 3)"}, 20000, &output),
      0);
  EXPECT_EQ(output, "one\nxxx");
  // Arguments reach the program as they are, never through a shell.
  EXPECT_EQ(RunForOutput({"echo", "a;b", "$HOME", "'\""}, 20000, &output), 0);
  EXPECT_EQ(output, "a;b $HOME '\"\n");
  // Missing programs and long runners are bounded.
  EXPECT_EQ(RunForOutput({"qx-no-such-program"}, 20000, &output), ENOENT);
  EXPECT_EQ(RunForOutput({"/nonexistent/qx"}, 20000, &output), ENOENT);
  EXPECT_EQ(RunForOutput({}, 20000, &output), EINVAL);
  EXPECT_EQ(RunForOutput({"sh", "-c", "echo started; exec sleep 60"}, 300, &output), 0);
  EXPECT_EQ(output, "started\n");
  EXPECT_EQ(RunForOutput({"sh", "-c", "head -c 100000 /dev/zero"}, 20000, &output), 0);
  EXPECT_EQ(output.size(), kMaxChildOutput);
}

}  // namespace
}  // namespace qx
