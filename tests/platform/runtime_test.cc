// The local-server runtime: wire frames and payloads, class lookup, calls with the server in
// this process, and servers started on demand from their registered LocalServer32.
#include <thread>
#include <tuple>
#include <vector>

#include "platform/localserver_launch.h"
#include "platform/registry.h"
#include "platform/unix_socket.h"
#include "platform/wire_frame.h"
#include "runtime_support.h"

namespace qx::test {
namespace {

TEST(RuntimeWire, FramesAreLittleEndianAndReadersGiveBackWhatWritersWroteWithinThePayload) {
  EXPECT_EQ(EncodeRequest(0x01020304, 7, 0x0A0B, {0xEE}),
            (std::vector<uint8_t>{17, 0, 0, 0, 4, 3, 2, 1, 7, 0, 0, 0, 0x0B, 0x0A, 0, 0, 0xEE}));
  std::vector<uint8_t> reply = EncodeReply(9, E_FAIL, {});
  EXPECT_EQ(reply, (std::vector<uint8_t>{12, 0, 0, 0, 9, 0, 0, 0, 0x05, 0x40, 0x00, 0x80}));
  const WireReplyHeader header = DecodeReplyHeader(reply.data());
  EXPECT_EQ(std::tuple(header.length, header.callId, header.result), std::tuple(12u, 9u, E_FAIL));
  const WireRequestHeader request = DecodeRequestHeader(EncodeRequest(5, 6, 7, {}).data());
  EXPECT_EQ(std::tuple(request.length, request.objectId, request.slot), std::tuple(16u, 6u, 7));

  // The reader gives back what the writer wrote and refuses counts beyond the payload.
  WireWriter out;
  out.U16(0xBEEF);
  UniqueBstr text(SysAllocString(u"\u00e7a"));
  out.Bstr(text.get());
  out.Bstr(nullptr);
  const int32_t numbers[] = {1, -2, 3};
  out.Array(numbers, 3);
  out.Value(CURRENCY{123456});
  WireReader in(out.bytes());
  uint16_t u16 = 0;
  BSTR first = nullptr, second = nullptr;
  std::vector<int32_t> array;
  CURRENCY money{};
  EXPECT_TRUE(in.U16(&u16) && in.Bstr(&first) && in.Bstr(&second) && in.Array(&array) &&
              in.Value(&money) && in.Finished());
  EXPECT_EQ(std::tuple(u16, BstrView(first), SysStringLen(second), array, money.int64),
            std::tuple(0xBEEF, u"\u00e7a", 0u, std::vector<int32_t>{1, -2, 3}, 123456));
  EXPECT_NE(second, nullptr);
  SysFreeString(first);
  SysFreeString(second);
  // Bytes past what the payload holds are never read, and a failed reader stays failed.
  uint32_t extra = 7;
  EXPECT_FALSE(in.U32(&extra) || in.ok());
  EXPECT_EQ(extra, 7u);

  using Bytes = std::vector<uint8_t>;
  BSTR cut = nullptr;
  EXPECT_FALSE(WireReader(Bytes{4, 0, 0, 0, 'a', 0}).Bstr(&cut));       // text cut short
  EXPECT_FALSE(WireReader(Bytes{3, 0, 0, 0, 'a', 0, 'b'}).Bstr(&cut));  // half a character
  EXPECT_FALSE(WireReader(Bytes{0xFF, 0xFF, 0xFF, 0xFF}).Bstr(&cut));
  EXPECT_EQ(cut, nullptr);
  EXPECT_FALSE(WireReader(Bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4}).Array(&array));
  EXPECT_FALSE(WireReader(Bytes{2, 0, 0, 0, 1, 0, 0, 0}).Array(&array));
  int32_t number = 0;
  WireReader twoBytes(Bytes{1, 2});
  EXPECT_FALSE(twoBytes.I32(&number) || twoBytes.Finished());
}

TEST_F(RuntimeTest, CallsCreationsAndServerLocksCarryTheirCodesAndObjectsAreCounted) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  HRESULT hr = E_FAIL;
  IRuntimeAdder* adder = CreateRemoteAdder(&hr);
  ASSERT_EQ(hr, S_OK);
  ASSERT_NE(adder, nullptr);
  EXPECT_EQ(Sum(adder, INT32_MAX, 1).first, E_INVALIDARG);  // the method's own code travels
  // Threads sharing the proxy each get their own answers.
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i)
        wrong += Sum(adder, t * 1000, i) != std::pair(S_OK, t * 1000 + i);
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  // IUnknown is the proxy itself; an interface without a stub is refused by the server.
  void* unknown = nullptr;
  EXPECT_EQ(adder->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_EQ(unknown, static_cast<void*>(adder));
  static_cast<IUnknown*>(unknown)->Release();
  void* other = &unknown;
  EXPECT_EQ(adder->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(adder->Release(), 0u);
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));

  // Several interfaces at creation, and bad arguments.
  MULTI_QI results[3] = {{&IID_IRuntimeAdder, nullptr, S_OK},
                         {&IID_IRuntimeAdder, nullptr, S_OK},
                         {&IID_IClassFactory, nullptr, S_OK}};
  EXPECT_EQ(CoCreateInstanceEx(CLSID_RuntimeAdder, nullptr, CLSCTX_ALL, nullptr, 3, results),
            CO_S_NOTALLINTERFACES);
  EXPECT_EQ(results[1].hr, S_OK);
  EXPECT_EQ(results[2].hr, E_NOINTERFACE);
  EXPECT_EQ(results[2].pItf, nullptr);
  EXPECT_EQ(LiveObjectCount(), 1);  // the same interface: the proxy itself
  results[0].pItf->Release();
  results[1].pItf->Release();
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));

  MULTI_QI one = {&IID_IRuntimeAdder, nullptr, S_OK};
  const std::tuple<IUnknown*, DWORD, ULONG, HRESULT> bad[] = {
      {results[0].pItf, CLSCTX_ALL, 1, CLASS_E_NOAGGREGATION},
      {nullptr, CLSCTX_INPROC_SERVER, 1, REGDB_E_CLASSNOTREG},
      {nullptr, CLSCTX_ALL, 0, E_INVALIDARG}};
  for (const auto& [outer, context, count, hr] : bad) {
    EXPECT_EQ(CoCreateInstanceEx(CLSID_RuntimeAdder, outer, context, nullptr, count, &one), hr);
  }
  EXPECT_EQ(LiveObjectCount(), 0);

  void* object = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_RuntimeAdder, CLSCTX_ALL, nullptr, IID_IClassFactory, &object),
            S_OK);
  auto* factory = static_cast<IClassFactory*>(object);
  // Each lock of the client counts in the server's class object, once.
  for (int lock : {1, 1, 0}) EXPECT_EQ(factory->LockServer(lock), S_OK) << lock;
  EXPECT_EQ(server.factory().locks(), 1);
  void* created = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IRuntimeAdder, &created), S_OK);
  EXPECT_EQ(Sum(static_cast<IRuntimeAdder*>(created), 2, 3), std::pair(S_OK, 5));
  // The object keeps the connection; when it goes, the connection's lock goes with it.
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(server.factory().locks(), 1);
  static_cast<IRuntimeAdder*>(created)->Release();
  EXPECT_TRUE(WaitFor([&] { return server.factory().locks() == 0; }));

  // An unlock without a lock of its own leaves the count alone.
  ASSERT_EQ(
      CoGetClassObject(CLSID_RuntimeAdder, CLSCTX_LOCAL_SERVER, nullptr, IID_IUnknown, &object),
      S_OK);
  factory = static_cast<IClassFactory*>(object);
  EXPECT_EQ(factory->LockServer(0), S_FALSE);
  EXPECT_EQ(server.factory().locks(), 0);
  factory->Release();
  EXPECT_EQ(CoGetClassObject(CLSID_RuntimeAdder, CLSCTX_ALL, nullptr, IID_IRuntimeAdder, &object),
            E_NOINTERFACE);
  EXPECT_EQ(CoGetClassObject(CLSID_RuntimeAdder, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  server.Revoke();
  EXPECT_EQ(server.factory().references(), 0u);
}

TEST_F(RuntimeTest, OneServerPerClassStaleSocketsReplacedRevokingEndsConnectionsEndingsGiveWay) {
  WriteText(SocketPath(), "left by a dead server");
  auto first = std::make_unique<AdderServer>();
  ASSERT_EQ(first->result(), S_OK);
  EXPECT_EQ(AdderServer().result(), CO_E_OBJISREG);
  Child other([](Child&) { return AdderServer().result() == CO_E_OBJISREG ? 0 : 1; });
  EXPECT_EQ(other.Wait(), 0);
  IRuntimeAdder* adder = CreateRemoteAdder();
  ASSERT_NE(adder, nullptr);
  EXPECT_EQ(Sum(adder, 1, 1), std::pair(S_OK, 2));
  EXPECT_EQ(LiveObjectCount(), 1);
  // Revoking ends the connections and releases their objects; the socket is gone, the lock
  // is free again, and no LocalServer32 is registered.
  first.reset();
  EXPECT_EQ(LiveObjectCount(), 0);
  for (int call = 0; call < 2; ++call) EXPECT_EQ(Sum(adder, 1, 1).first, RPC_S_SERVER_UNAVAILABLE);
  adder->Release();
  EXPECT_EQ(ModeOf(SocketPath()), ~0u);
  EXPECT_EQ(CreationResult(), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(AdderServer().result(), S_OK);

  // A server ending as the client comes gives way to the one that runs now: the first listener
  // closes the connection it accepted without a word, as a server ending at its idle delay does;
  // the server running by then answers the creation.
  const int ending = ListenUnix(SocketPath(), 0600);
  ASSERT_GE(ending, 0);
  std::unique_ptr<AdderServer> now;
  std::thread handover([&] {
    const int accepted = AcceptUnix(ending);
    now = std::make_unique<AdderServer>();
    CloseSocket(accepted);
    CloseSocket(ending);
  });
  adder = CreateRemoteAdder();
  handover.join();
  ASSERT_EQ(now->result(), S_OK);
  ASSERT_NE(adder, nullptr);
  EXPECT_EQ(Sum(adder, 2, 3), std::pair(S_OK, 5));
  adder->Release();
}

TEST_F(RuntimeTest, SuspendedClassesAcceptFromResume) {
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
}

void RegisterServer(const std::string& command) {
  ASSERT_EQ(RegSetString("HKEY_CLASSES_ROOT\\CLSID\\" + GuidToBracedText(CLSID_RuntimeAdder) +
                             "\\LocalServer32",
                         "", command),
            ERROR_SUCCESS);
}

// Command lines split into words, ProgIDs lead to their classes; servers that cannot start
// fail, and an absent server is started with -Embedding.
TEST_F(RuntimeTest, ProgIdsLeadToClassesAndAbsentServersStartWithEmbeddingOrFail) {
  EXPECT_EQ(SplitCommandLine("  /opt/qx/ostrel\t-a  b "),
            (std::vector<std::string>{"/opt/qx/ostrel", "-a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"/opt/qx sistemas/ostrel\" \"x y\""),
            (std::vector<std::string>{"/opt/qx sistemas/ostrel", "x y"}));
  EXPECT_TRUE(SplitCommandLine(" \t").empty());

  ASSERT_EQ(RegApply(RegEdit()
                         .SetString("HKEY_CLASSES_ROOT\\Adder.Adder.1\\CLSID", "",
                                    GuidToBracedText(CLSID_RuntimeAdder))
                         .SetString("HKEY_CLASSES_ROOT\\Adder.Adder\\CurVer", "", "Adder.Adder.1")
                         .SetString("HKEY_CLASSES_ROOT\\Loop\\CurVer", "", "Loop")
                         .SetString("HKEY_CLASSES_ROOT\\Bad\\CLSID", "", "{not a guid}")),
            ERROR_SUCCESS);
  CLSID clsid = GUID_NULL;
  EXPECT_EQ(CLSIDFromProgID(u"adder.adder", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_RuntimeAdder);
  for (const char16_t* progId : {u"Nothing", u"Loop", u"Bad", u""}) {
    EXPECT_EQ(CLSIDFromProgID(progId, &clsid), CO_E_CLASSSTRING);
  }
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);

  // A missing program (the registration to mend), and one that ends without listening
  // (given up after the start-up wait).
  const std::pair<std::string, HRESULT> cases[] = {
      {folder_ / "no-such-server", CO_E_SERVER_EXEC_FAILURE},
      {"/bin/true", CO_E_SERVER_START_TIMEOUT}};
  for (const auto& [command, expected] : cases) {
    RegisterServer(command);
    EXPECT_EQ(CreationResult(), expected) << command;
  }

  RegisterServer(std::string("\"") + QX_RUNTIME_TEST_SERVER + "\" --from-test");
  // A descriptor of the client that may be inherited does not reach the server.
  ASSERT_EQ(dup2(0, 200), 200);
  HRESULT hr = E_FAIL;
  IRuntimeAdder* adder = CreateRemoteAdder(&hr);
  close(200);
  ASSERT_EQ(hr, S_OK);
  ASSERT_NE(adder, nullptr);
  int32_t pid = 0, secondPid = 0;
  EXPECT_EQ(adder->ProcessId(&pid), S_OK);
  EXPECT_NE(pid, getpid());
  EXPECT_EQ(ReadText(folder_ / "server-args"), "--from-test -Embedding");
  EXPECT_EQ(ReadText(folder_ / "server-fd200"), "closed");
  // A second client finds the running server.
  IRuntimeAdder* second = CreateRemoteAdder();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->ProcessId(&secondPid), S_OK);
  EXPECT_EQ(secondPid, pid);
  second->Release();
  adder->Release();
  // Its last object gone, the test server withdraws its class and ends.
  EXPECT_TRUE(WaitFor([&] { return ModeOf(SocketPath()) == ~0u; }));
}

TEST_F(RuntimeTest, ClientsComingAtOnceFindAServerWhileOthersStartAndEnd) {
  // The test server ends as soon as its last object goes: each round of clients comes as the
  // last round's server ends, and starts servers of its own that race for the class.
  RegisterServer(QX_RUNTIME_TEST_SERVER);
  const char* scale = getenv("QX_RUNTIME_STRESS_ROUNDS");
  const int rounds = scale != nullptr ? atoi(scale) : 40;
  constexpr int kClients = 4;
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::unique_ptr<Child>> clients;
    for (int c = 0; c < kClients; ++c) {
      clients.push_back(std::make_unique<Child>([](Child&) {
        // A server of this class that ends as its count falls to 0 may leave a new object
        // of it unusable: only the creation counts here.
        const HRESULT hr = CreationResult();
        return hr == S_OK ? 0 : static_cast<int>(static_cast<uint32_t>(hr) & 0x7F) | 0x80;
      }));
    }
    for (auto& client : clients) ASSERT_EQ(client->Wait(), 0) << "round " << round;
  }
}

}  // namespace
}  // namespace qx::test
