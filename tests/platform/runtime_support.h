// Helpers of the local-server runtime's tests: private runtime folders and registries, the
// runtime's reports, an in-process server of the test class, another user, and bounded
// waits.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/com_runtime.h"
#include "platform/com_runtime_hooks.h"
#include "runtime_adder.h"
#include "test_support.h"

namespace qx::test {

// A private runtime folder and registry for one test.
class RuntimeTest : public ::testing::Test {
 protected:
  RuntimeTest()
      : runtime_(kRuntime, folder_.path()),
        registry_("QX_REGISTRY", folder_ / "registry.reg"),
        userRegistry_("QX_REGISTRY_USER", folder_ / "user.reg") {
    alarm(120);
    RegisterRuntimeAdder();
    SetRuntimeLogHook([this](RuntimeEvent event, const std::string& text) {
      std::lock_guard lock(mutex_);
      reports_.push_back({event, text});
    });
  }
  ~RuntimeTest() override {
    SetRuntimeLogHook({});
    alarm(0);
  }

  struct Report {
    RuntimeEvent event;
    std::string text;
  };
  // What the runtime reported since the test began.
  std::vector<Report> Reports() {
    std::lock_guard lock(mutex_);
    return reports_;
  }
  std::vector<RuntimeEvent> Events() {
    std::vector<RuntimeEvent> events;
    for (const Report& report : Reports()) events.push_back(report.event);
    return events;
  }

  std::string SocketPath() const {
    return folder_.path() + "/" + GuidToText(CLSID_RuntimeAdder) + ".sock";
  }

  static constexpr const char* kRuntime = "QX_RUNTIME_DIR";
  std::mutex mutex_;
  std::vector<Report> reports_;
  TempDir folder_;
  ScopedEnv runtime_;
  ScopedEnv registry_;
  ScopedEnv userRegistry_;
};

// The test class offered by this process while the object lives.
class AdderServer {
 public:
  AdderServer() {
    result_ = CoRegisterClassObject(CLSID_RuntimeAdder, &factory_, CLSCTX_LOCAL_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie_);
  }
  ~AdderServer() { Revoke(); }
  void Revoke() {
    if (SUCCEEDED(result_)) CoRevokeClassObject(cookie_);
    result_ = E_FAIL;
  }
  HRESULT result() const { return result_; }
  const RuntimeAdderFactory& factory() const { return factory_; }

 private:
  RuntimeAdderFactory factory_;
  DWORD cookie_ = 0;
  HRESULT result_ = E_FAIL;
};

// The adder's answer to a + b: its code and the sum (0 when it failed).
inline std::pair<HRESULT, int32_t> Sum(IRuntimeAdder* adder, int32_t a, int32_t b) {
  int32_t sum = 0;
  const HRESULT hr = adder->Add(a, b, &sum);
  return {hr, SUCCEEDED(hr) ? sum : 0};
}

// A new remote adder answers a call: the class is still served.
inline void ExpectServed() {
  IRuntimeAdder* adder = CreateRemoteAdder();
  ASSERT_NE(adder, nullptr);
  EXPECT_EQ(Sum(adder, 20, 22), std::pair(S_OK, 42));
  adder->Release();
}

// What creating a remote adder gives (the adder is released again); E_UNEXPECTED when an
// adder came with a failure or none with a success.
inline HRESULT CreationResult() {
  HRESULT hr = E_FAIL;
  IRuntimeAdder* adder = CreateRemoteAdder(&hr);
  if (adder != nullptr) adder->Release();
  return (adder != nullptr) == SUCCEEDED(hr) ? hr : E_UNEXPECTED;
}

// User "nobody", which a test run as root becomes in a child process.
inline constexpr uid_t kNobody = 65534;
inline constexpr int kCannotSwitchUser = 10;  // a root without the capability to change users

// Makes the calling process user "nobody"; false when it may not.
inline bool BecomeNobody() {
  return setgroups(0, nullptr) == 0 && setresgid(kNobody, kNobody, kNobody) == 0 &&
         setresuid(kNobody, kNobody, kNobody) == 0;
}

// Polls `done` every 10 ms for up to 20 s; its last answer.
inline bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 2000; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

}  // namespace qx::test
