// The module's lock count, its shutdown monitor and its class object, in
// process.
#include <gtest/gtest.h>

#include "../storage/folders_test_registry.h"
#include "contract/interface_ids.h"
#include "contract/iqxcn_lancamento.h"
#include "server/class_factory.h"
#include "server/exe_module.h"

namespace qx {
namespace {

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

}  // namespace
}  // namespace qx
