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

TEST_F(PeerCreationTest, UnavailableTwiceIsReachedOnAttemptTwo) {
  void* object = nullptr;
  ASSERT_EQ(Create({RPC_S_SERVER_UNAVAILABLE, CO_E_SERVER_EXEC_FAILURE}, kBoth, &object), S_OK);
  EXPECT_EQ(object, &peer_);
  EXPECT_EQ(attempts_, 3u);
  EXPECT_EQ(waits_, (std::vector<uint32_t>{100, 100}));
  std::lock_guard lock(mutex_);
  EXPECT_EQ(events_, (std::vector<Event>{
                         {EventType::kWarning, static_cast<uint32_t>(RPC_S_SERVER_UNAVAILABLE),
                          "\n\nA primeira tentativa de instanciar o servidor falhou"},
                         {EventType::kError, static_cast<uint32_t>(RPC_S_SERVER_UNAVAILABLE),
                          "Falta informar o IP"},
                         {EventType::kWarning, 0, "Instancia estabelecida com sucesso na vez 2"},
                     }));
  // The system's text of each code, with or without the suite's message library.
  const std::string indisponivel =
      "\nHR: 0x800706BA (O servidor RPC n\xE3o est\xE1 dispon\xEDvel.)";
  EXPECT_EQ(details_, (std::vector<std::string>{indisponivel, indisponivel,
                                                "\nHR: 0x0 (A opera\xE7\xE3o foi conclu\xED"
                                                "da com \xEAxito.)"}));
}

TEST_F(PeerCreationTest, EarlySuccessIsNotReportedAndOtherFailuresEndAtOnce) {
  void* object = nullptr;
  ASSERT_EQ(Create({RPC_S_SERVER_UNAVAILABLE}, eQXCCI_RETRY, &object), S_OK);
  EXPECT_EQ(waits_.size(), 1u);
  EXPECT_TRUE(events_.empty());  // attempt 1, and no failure reports asked for

  const Event failed{EventType::kError, static_cast<uint32_t>(E_ACCESSDENIED),
                     "\n\nErro instanciando servidor"};
  EXPECT_EQ(Create({E_ACCESSDENIED}, kBoth, &object), E_ACCESSDENIED);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(attempts_, 1u);
  EXPECT_TRUE(waits_.empty());
  EXPECT_EQ(events_, std::vector<Event>{failed});
  EXPECT_EQ(details_, std::vector<std::string>{"\nHR: 0x80070005 (Acesso negado.)"});
  // Without retries, unavailable is final too.
  EXPECT_EQ(Create({RPC_S_SERVER_UNAVAILABLE}, eQXCCI_LOG_FAILURE, &object),
            RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(attempts_, 1u);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].text, failed.text);
}

TEST_F(PeerCreationTest, GivesUpAfterFiveHundredAttempts) {
  void* object = nullptr;
  EXPECT_EQ(Create(std::vector<HRESULT>(600, RPC_S_SERVER_UNAVAILABLE), kBoth, &object),
            RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(attempts_, 500u);
  EXPECT_EQ(waits_.size(), 499u);
  ASSERT_EQ(events_.size(), 3u);
  EXPECT_EQ(events_.back().text, "\n\nErro instanciando servidor");
}

TEST_F(PeerCreationTest, InvalidArgumentRetriesOnceWithoutServerInformation) {
  void* object = nullptr;
  ASSERT_EQ(Create({E_INVALIDARG}, kBoth, &object), S_OK);
  EXPECT_EQ(withInfo_, (std::vector<bool>{true, false}));
  EXPECT_EQ(Create({E_INVALIDARG, E_OUTOFMEMORY}, kBoth, &object), E_OUTOFMEMORY);
  EXPECT_EQ(object, nullptr);
  EXPECT_TRUE(events_.empty());  // returned at once, before the failure report
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
