// Creation of peer objects: retries while the server is unavailable, the
// waits between attempts and the event-log reports.
#include "server/peer_creation.h"

#include <gtest/gtest.h>

#include <mutex>
#include <tuple>

#include "../storage/folders_test_registry.h"
#include "platform/event_log.h"
#include "server/dcom_security.h"

namespace qx {
namespace {

// {7D1B2C3A-0000-4000-8000-00000000AB01}
constexpr CLSID kPeer = {0x7D1B2C3A, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0xAB, 0x01}};
// {7D1B2C3A-0000-4000-8000-00000000AB02}
constexpr IID kPeerInterface = {0x7D1B2C3A, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0xAB, 0x02}};

struct Event {
  EventType type;
  uint32_t id;
  std::string text;
  bool operator==(const Event&) const = default;
};

class ThePeer final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  ULONG references = 0;
};

// A peer whose creation gives the listed results one after the other and
// succeeds afterwards; the waits and reports are recorded.
class PeerCreationTest : public ::testing::Test {
 protected:
  PeerCreationTest() {
    SetEventLogHook([this](const std::string& source, EventType type, uint32_t id,
                           const std::vector<std::string>& strings) {
      EXPECT_EQ(source, "QX Sistemas");
      ASSERT_EQ(strings.size(), 2u);
      EXPECT_NE(strings[1].find("\nCLSID: {7D1B2C3A-0000-4000-8000-00000000AB01}\n"),
                std::string::npos);
      std::lock_guard lock(mutex_);
      events_.push_back({type, id, strings[0]});
      details_.push_back(strings[1].substr(0, strings[1].find("\nCLSID")));
    });
    operations_.cria = [this](REFCLSID clsid, IUnknown*, DWORD, COSERVERINFO* info, DWORD count,
                              MULTI_QI* results) {
      EXPECT_EQ(clsid, kPeer);
      EXPECT_EQ(count, 1u);
      EXPECT_EQ(*results[0].pIID, kPeerInterface);
      infos_.push_back(info != nullptr ? *info->pAuthInfo : COAUTHINFO{});
      withInfo_.push_back(info != nullptr);
      HRESULT hr = attempts_ < results_.size() ? results_[attempts_] : S_OK;
      ++attempts_;
      results[0].pItf = SUCCEEDED(hr) ? &peer_ : nullptr;
      results[0].hr = hr;
      return hr;
    };
    operations_.espera = [this](uint32_t ms) { waits_.push_back(ms); };
  }
  ~PeerCreationTest() override {
    SetEventLogHook({});
    LeSemAutenticacao();
  }

  // A creation whose first attempts give `results`.
  HRESULT Create(std::vector<HRESULT> results, DWORD flags, void** object) {
    results_ = std::move(results);
    attempts_ = 0;
    waits_.clear();
    withInfo_.clear();
    events_.clear();
    details_.clear();
    return CriaComRetentativa(operations_, kPeer, nullptr, CLSCTX_ALL, kPeerInterface, object,
                              flags);
  }

  TestRegistry registry_;
  std::mutex mutex_;
  std::vector<Event> events_;
  // The code line of each report's second text.
  std::vector<std::string> details_;
  std::vector<HRESULT> results_;
  size_t attempts_ = 0;
  std::vector<uint32_t> waits_;
  std::vector<COAUTHINFO> infos_;
  std::vector<bool> withInfo_;
  ThePeer peer_;
  OperacoesCriacao operations_;
};

constexpr DWORD kBoth = eQXCCI_LOG_FAILURE | eQXCCI_RETRY;

Event Warning(HRESULT hr, const char* text) {
  return {EventType::kWarning, static_cast<uint32_t>(hr), text};
}
Event Error(HRESULT hr, const char* text) {
  return {EventType::kError, static_cast<uint32_t>(hr), text};
}

// The attempts, the waits between them, the reports and the system's text of
// the last report's code, for creations whose first attempts give `results`.
TEST_F(PeerCreationTest, AttemptsWaitsAndReportsOfEachOutcome) {
  constexpr HRESULT kOff = RPC_S_SERVER_UNAVAILABLE;
  constexpr char kFirst[] = "\n\nA primeira tentativa de instanciar o servidor falhou";
  constexpr char kFailed[] = "\n\nErro instanciando servidor";
  const std::string off = "\nHR: 0x800706BA (O servidor RPC n\xE3o est\xE1 dispon\xEDvel.)";
  const struct {
    std::vector<HRESULT> results;
    DWORD flags;
    HRESULT hr;
    size_t attempts;
    std::vector<uint32_t> waits;
    std::vector<Event> events;
    std::string lastDetail;
  } casos[] = {
      {{kOff, CO_E_SERVER_EXEC_FAILURE}, kBoth, S_OK, 3, {100, 100},
       {Warning(kOff, kFirst), Error(kOff, "Falta informar o IP"),
        Warning(0, "Instancia estabelecida com sucesso na vez 2")},
       "\nHR: 0x0 (A opera\xE7\xE3o foi conclu\xED" "da com \xEAxito.)"},
      // Success on attempt 1 is not reported, nor failures unless asked for.
      {{kOff}, eQXCCI_RETRY, S_OK, 2, {100}, {}, ""},
      {{E_ACCESSDENIED}, kBoth, E_ACCESSDENIED, 1, {}, {Error(E_ACCESSDENIED, kFailed)},
       "\nHR: 0x80070005 (Acesso negado.)"},
      // Without retries, unavailable is final too.
      {{kOff}, eQXCCI_LOG_FAILURE, kOff, 1, {}, {Error(kOff, kFailed)}, off},
      {std::vector<HRESULT>(600, kOff), kBoth, kOff, 500, std::vector<uint32_t>(499, 100),
       {Warning(kOff, kFirst), Error(kOff, "Falta informar o IP"), Error(kOff, kFailed)}, off},
      // An invalid argument is retried once without server information; a
      // failed retry returns at once, before the failure report.
      {{E_INVALIDARG}, kBoth, S_OK, 2, {}, {}, ""},
      {{E_INVALIDARG, E_OUTOFMEMORY}, kBoth, E_OUTOFMEMORY, 2, {}, {}, ""},
  };
  for (const auto& c : casos) {
    void* object = &object;
    EXPECT_EQ(Create(c.results, c.flags, &object), c.hr) << c.attempts;
    EXPECT_EQ(object, SUCCEEDED(c.hr) ? &peer_ : nullptr);
    EXPECT_EQ(attempts_, c.attempts);
    EXPECT_EQ(waits_, c.waits);
    EXPECT_EQ(events_, c.events) << c.attempts;
    EXPECT_EQ(details_.empty() ? "" : details_.back(), c.lastDetail);
    if (c.results[0] == E_INVALIDARG) {
      EXPECT_EQ(withInfo_, (std::vector<bool>{true, false}));
    }
  }
  EXPECT_EQ(Create({}, kBoth, nullptr), E_POINTER);
}

TEST_F(PeerCreationTest, AuthenticationFollowsTheMachineSwitch) {
  void* object = nullptr;
  ASSERT_EQ(Create({}, kBoth, &object), S_OK);
  ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "DesabilitaAutenticacaoDCOM", 1), ERROR_SUCCESS);
  LeSemAutenticacao();
  EXPECT_TRUE(SemAutenticacao());
  ASSERT_EQ(Create({}, kBoth, &object), S_OK);
  std::vector<std::tuple<DWORD, DWORD, DWORD, DWORD, void*, DWORD>> seen;
  for (const COAUTHINFO& i : infos_) {
    seen.emplace_back(i.dwAuthnSvc, i.dwAuthnLevel, i.dwAuthzSvc, i.dwImpersonationLevel,
                      i.pAuthIdentityData, i.dwCapabilities);
  }
  EXPECT_EQ(seen, (decltype(seen){{RPC_C_AUTHN_WINNT, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_AUTHZ_NONE,
                                   RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE},
                                  {RPC_C_AUTHN_NONE, RPC_C_AUTHN_LEVEL_NONE, RPC_C_AUTHZ_NONE,
                                   RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE}}));
}

TEST_F(PeerCreationTest, ReachabilityNamesTheMissingAddressOrPingsTheServer) {
  const std::string clsidKey = "HKEY_CLASSES_ROOT\\CLSID\\{7D1B2C3A-0000-4000-8000-00000000AB01}";
  ASSERT_EQ(RegSetString(clsidKey, "AppID", "{7D1B2C3A-0000-4000-8000-00000000AB03}"),
            ERROR_SUCCESS);
  // A name with blanks and quotes is one argument of ping, never a command.
  ASSERT_EQ(RegSetString("HKEY_CLASSES_ROOT\\AppID\\{7D1B2C3A-0000-4000-8000-00000000AB03}",
                         "RemoteServerName", "-x; touch /tmp/qx-never \"'"),
            ERROR_SUCCESS);
  void* object = nullptr;
  ASSERT_EQ(Create({CO_E_SERVER_EXEC_FAILURE}, kBoth, &object), S_OK);
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[1].type, EventType::kError);
  EXPECT_NE(events_[1].text, "Falta informar o IP");
  EXPECT_NE(access("/tmp/qx-never", F_OK), 0);
}

}  // namespace
}  // namespace qx
