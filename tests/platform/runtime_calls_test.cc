// Calls through the local-server runtime with the server in this process.
#include <sys/stat.h>

#include <thread>
#include <vector>

#include "platform/unix_socket.h"
#include "runtime_support.h"

namespace qx::test {
namespace {

using RuntimeCallsTest = RuntimeTest;

TEST_F(RuntimeCallsTest, CallsCarryNumbersAndTextsAndObjectsAreCounted) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  HRESULT hr = E_FAIL;
  IRuntimeAdder* adder = CreateRemoteAdder(&hr);
  ASSERT_EQ(hr, S_OK);
  ASSERT_NE(adder, nullptr);
  EXPECT_EQ(LiveObjectCount(), 1);

  int32_t sum = 0;
  EXPECT_EQ(adder->Add(40, 2, &sum), S_OK);
  EXPECT_EQ(sum, 42);
  EXPECT_EQ(adder->Add(INT32_MAX, 1, &sum), E_INVALIDARG);  // the method's own code travels

  const char16_t withNul[] = u"a\0\u00e7\u20ac";
  for (uint32_t length : {0u, 4u}) {
    UniqueBstr text(SysAllocStringLen(withNul, length));
    BSTR copy = nullptr;
    ASSERT_EQ(adder->Echo(text.get(), &copy), S_OK);
    EXPECT_EQ(BstrView(copy), BstrView(text.get()));
    SysFreeString(copy);
  }

  // IUnknown is the proxy itself; an interface without a stub is refused by the server.
  void* unknown = nullptr;
  EXPECT_EQ(adder->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_EQ(unknown, static_cast<void*>(adder));
  static_cast<IUnknown*>(unknown)->Release();
  void* other = &sum;
  EXPECT_EQ(adder->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);

  EXPECT_EQ(adder->Release(), 0u);
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));
  server.Revoke();
  EXPECT_EQ(server.factory().references(), 0u);
}

TEST_F(RuntimeCallsTest, SeveralInterfacesAtCreationAndBadArguments) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  MULTI_QI results[3] = {{&IID_IRuntimeAdder, nullptr, S_OK},
                         {&IID_IRuntimeAdder, nullptr, S_OK},
                         {&IID_IClassFactory, nullptr, S_OK}};
  EXPECT_EQ(CoCreateInstanceEx(CLSID_RuntimeAdder, nullptr, CLSCTX_ALL, nullptr, 3, results),
            CO_S_NOTALLINTERFACES);
  EXPECT_EQ(results[0].hr, S_OK);
  EXPECT_EQ(results[1].hr, S_OK);
  EXPECT_EQ(results[2].hr, E_NOINTERFACE);
  EXPECT_EQ(results[2].pItf, nullptr);
  EXPECT_EQ(LiveObjectCount(), 1);  // the same interface: the proxy itself
  EXPECT_EQ(
      CoSetProxyBlanket(results[0].pItf, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                        RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
      S_OK);
  results[0].pItf->Release();
  results[1].pItf->Release();
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));

  MULTI_QI one = {&IID_IRuntimeAdder, nullptr, S_OK};
  IUnknown* outer = results[0].pItf;
  EXPECT_EQ(CoCreateInstanceEx(CLSID_RuntimeAdder, outer, CLSCTX_ALL, nullptr, 1, &one),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(CoCreateInstanceEx(CLSID_RuntimeAdder, nullptr, CLSCTX_INPROC_SERVER, nullptr, 1, &one),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstanceEx(CLSID_RuntimeAdder, nullptr, CLSCTX_ALL, nullptr, 0, &one),
            E_INVALIDARG);
  EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(RuntimeCallsTest, OneServerPerClassAndStaleSocketsAreReplaced) {
  WriteText(SocketPath(), "left by a dead server");
  {
    AdderServer first;
    ASSERT_EQ(first.result(), S_OK);
    AdderServer second;
    EXPECT_EQ(second.result(), CO_E_OBJISREG);
    Child other([](Child&) { return AdderServer().result() == CO_E_OBJISREG ? 0 : 1; });
    EXPECT_EQ(other.Wait(), 0);
    ExpectServed();
  }
  // Revoked: the socket is gone, the lock is free again, and no LocalServer32 is registered.
  struct stat info {};
  EXPECT_NE(stat(SocketPath().c_str(), &info), 0);
  HRESULT hr = S_OK;
  EXPECT_EQ(CreateRemoteAdder(&hr), nullptr);
  EXPECT_EQ(hr, REGDB_E_CLASSNOTREG);
  AdderServer again;
  EXPECT_EQ(again.result(), S_OK);
}

TEST_F(RuntimeCallsTest, RevokingEndsConnectionsAndReleasesTheirObjects) {
  auto server = std::make_unique<AdderServer>();
  ASSERT_EQ(server->result(), S_OK);
  IRuntimeAdder* adder = CreateRemoteAdder();
  ASSERT_NE(adder, nullptr);
  EXPECT_EQ(LiveObjectCount(), 1);
  server.reset();
  EXPECT_EQ(LiveObjectCount(), 0);
  int32_t sum = 0;
  EXPECT_EQ(adder->Add(1, 1, &sum), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(adder->Add(1, 1, &sum), RPC_S_SERVER_UNAVAILABLE);
  adder->Release();
}

TEST_F(RuntimeCallsTest, SuspendedClassesAcceptFromResume) {
  RuntimeAdderFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_RuntimeAdder, &factory, CLSCTX_LOCAL_SERVER,
                                  REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie),
            S_OK);
  std::thread client(ExpectServed);  // waits in the listen queue until resumed
  Sleep(50);
  EXPECT_EQ(LiveObjectCount(), 0);
  EXPECT_EQ(CoResumeClassObjects(), S_OK);
  client.join();
  // Suspended again (as the shutdown monitor does), then resumed: served again.
  EXPECT_EQ(CoSuspendClassObjects(), S_OK);
  std::thread later(ExpectServed);
  EXPECT_EQ(CoResumeClassObjects(), S_OK);
  later.join();
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
  EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(RuntimeCallsTest, ThreadsSharingOneProxyGetTheirOwnAnswers) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  IRuntimeAdder* adder = CreateRemoteAdder();
  ASSERT_NE(adder, nullptr);
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i) {
        int32_t sum = 0;
        if (adder->Add(t * 1000, i, &sum) != S_OK || sum != t * 1000 + i) ++wrong;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  adder->Release();
}

}  // namespace
}  // namespace qx::test
