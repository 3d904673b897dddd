// Only the server's own user (and root) may connect, unless authentication is disabled.
#include <grp.h>
#include <sys/stat.h>

#include <mutex>

#include "runtime_support.h"

namespace qx::test {
namespace {

constexpr uid_t kNobody = 65534;
constexpr int kCannotSwitchUser = 10;  // a root without the capability to change users

class RuntimeAuthTest : public RuntimeTest {
 protected:
  ~RuntimeAuthTest() override {
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  }

  // A client that waits for 'g', becomes user "nobody" and exits with 0 when creating an
  // adder gives `expected` (and, on success, the adder answers).
  static std::unique_ptr<Child> NobodyClient(HRESULT expected) {
    return std::make_unique<Child>([expected](Child& self) {
      if (self.Receive() != 'g') return 11;
      if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
        return kCannotSwitchUser;
      }
      HRESULT hr = E_FAIL;
      IRuntimeAdder* adder = CreateRemoteAdder(&hr);
      if (hr != expected) return 12;
      if (adder == nullptr) return 0;
      int32_t sum = 0;
      HRESULT added = adder->Add(1, 2, &sum);
      adder->Release();
      return added == S_OK && sum == 3 ? 0 : 13;
    });
  }
};

TEST_F(RuntimeAuthTest, OtherUsersAreRefusedByDefault) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  std::mutex mutex;
  std::vector<RuntimeEvent> events;
  SetRuntimeLogHook([&](RuntimeEvent event, const std::string&) {
    std::lock_guard lock(mutex);
    events.push_back(event);
  });
  // Reachable for the other user, so that the server itself must say no.
  ASSERT_EQ(chmod(folder_.path().c_str(), 0711), 0);
  auto client = NobodyClient(E_ACCESSDENIED);
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  client->Send('g');
  int code = client->Wait();
  if (code == kCannotSwitchUser) GTEST_SKIP() << "cannot act as another user here";
  EXPECT_EQ(code, 0);
  std::lock_guard lock(mutex);
  EXPECT_EQ(events, std::vector<RuntimeEvent>{RuntimeEvent::kRefusedConnection});
  EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(RuntimeAuthTest, DisabledAuthenticationAdmitsEveryLocalUser) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  auto client = NobodyClient(S_OK);
  ASSERT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_NONE,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr),
            S_OK);
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  struct stat info {};
  ASSERT_EQ(stat(folder_.path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0711u);
  ASSERT_EQ(stat(SocketPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666u);
  client->Send('g');
  int code = client->Wait();
  if (code == kCannotSwitchUser) GTEST_SKIP() << "cannot act as another user here";
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));
}

using RuntimeFolderTest = RuntimeTest;

TEST_F(RuntimeFolderTest, RuntimeFolderIsMadePrivateAndMustBeARealFolder) {
  {
    ScopedEnv runtime(kRuntime, folder_ / "run");
    AdderServer server;
    ASSERT_EQ(server.result(), S_OK);
    struct stat info {};
    ASSERT_EQ(stat((folder_ / "run").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
  }
  ASSERT_EQ(symlink((folder_ / "run").c_str(), (folder_ / "link").c_str()), 0);
  ScopedEnv runtime(kRuntime, folder_ / "link");
  AdderServer server;
  EXPECT_EQ(server.result(), E_ACCESSDENIED);
}

}  // namespace
}  // namespace qx::test
