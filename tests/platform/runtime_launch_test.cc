// Servers started on demand from their registered LocalServer32.
#include <sys/stat.h>

#include "platform/registry.h"
#include "runtime_support.h"

namespace qx::test {
namespace {

class RuntimeLaunchTest : public RuntimeTest {
 protected:
  void RegisterServer(const std::string& command) {
    ASSERT_EQ(RegSetString("HKEY_CLASSES_ROOT\\CLSID\\" + GuidToBracedText(CLSID_RuntimeAdder) +
                               "\\LocalServer32",
                           "", command),
              ERROR_SUCCESS);
  }
};

TEST_F(RuntimeLaunchTest, AbsentServerIsStartedWithEmbedding) {
  RegisterServer(std::string("\"") + QX_RUNTIME_TEST_SERVER + "\" --from-test");
  HRESULT hr = E_FAIL;
  IRuntimeAdder* adder = CreateRemoteAdder(&hr);
  ASSERT_EQ(hr, S_OK);
  ASSERT_NE(adder, nullptr);
  int32_t pid = 0;
  EXPECT_EQ(adder->ProcessId(&pid), S_OK);
  EXPECT_NE(pid, getpid());
  EXPECT_EQ(ReadText(folder_ / "server-args"), "--from-test -Embedding");
  // A second client finds the running server.
  IRuntimeAdder* second = CreateRemoteAdder();
  ASSERT_NE(second, nullptr);
  int32_t secondPid = 0;
  EXPECT_EQ(second->ProcessId(&secondPid), S_OK);
  EXPECT_EQ(secondPid, pid);
  second->Release();
  adder->Release();
  // Its last object gone, the test server withdraws its class and ends.
  struct stat info {};
  EXPECT_TRUE(WaitFor([&] { return stat(SocketPath().c_str(), &info) != 0; }));
}

TEST_F(RuntimeLaunchTest, ServersThatCannotStartOrNeverListenFail) {
  HRESULT hr = S_OK;
  EXPECT_EQ(CreateRemoteAdder(&hr), nullptr);
  EXPECT_EQ(hr, REGDB_E_CLASSNOTREG);
  RegisterServer(folder_ / "no-such-server");
  EXPECT_EQ(CreateRemoteAdder(&hr), nullptr);
  EXPECT_EQ(hr, CO_E_SERVER_EXEC_FAILURE);
  // Starts and ends without listening: given up after the start-up wait.
  RegisterServer("/bin/true");
  EXPECT_EQ(CreateRemoteAdder(&hr), nullptr);
  EXPECT_EQ(hr, CO_E_SERVER_EXEC_FAILURE);
}

}  // namespace
}  // namespace qx::test
