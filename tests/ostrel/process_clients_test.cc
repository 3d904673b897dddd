// Many client processes at once, a client killed in the middle of a save,
// and the connections of other users.
#include <fcntl.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "process_fixture.h"

namespace qx::test {
namespace {

constexpr int kClients = 32;
constexpr int kObjectsPerClient = 4;
constexpr int kRounds = 25;

// In a client: kObjectsPerClient objects, then, at the go signal, each in a
// thread of its own sets and reads back values that only it uses. 0 when
// every call was answered with its own value.
int ClientBody(Child& self, int client) {
  std::vector<IQXCN_Lancamento*> objects;
  for (int i = 0; i < kObjectsPerClient; ++i) {
    IQXCN_Lancamento* servico = ProcessTest::NewObject();
    if (servico == nullptr) return 20 + i;
    objects.push_back(servico);
  }
  self.Send('r');
  if (self.Receive() != 'g') return 11;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kObjectsPerClient; ++i) {
    threads.emplace_back([&, i] {
      for (int round = 0; round < kRounds; ++round) {
        const int32_t value = client * 100000 + i * 1000 + round;
        int32_t read = 0;
        if (objects[i]->SetDebito(value) != S_OK || objects[i]->GetDebito(&read) != S_OK ||
            read != value) {
          ++failures;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (IQXCN_Lancamento* servico : objects) servico->Release();
  return failures == 0 ? 0 : 12;
}

TEST_F(ProcessTest, ManyClientsCallingAtOnceGetTheirOwnAnswers) {
  std::vector<std::unique_ptr<Child>> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.push_back(std::make_unique<Child>([c](Child& self) { return ClientBody(self, c); }));
  }
  for (auto& client : clients) EXPECT_EQ(client->Receive(), 'r');
  for (auto& client : clients) client->Send('g');
  for (auto& client : clients) EXPECT_EQ(client->Wait(), 0);
  // Every object was released: the lock count fell to 0 and the server ends.
  EXPECT_TRUE(WaitGone());
}

TEST_F(ProcessTest, ClientKilledDuringASaveReleasesItsObjects) {
  Child saver([](Child& self) {
    IQXCN_Lancamento* servico = ProcessTest::NewObject();
    if (servico == nullptr) return 20;
    for (int documento = 1;; ++documento) {
      if (ProcessTest::SaveEntry(servico, documento) != S_OK) return 21;
      if (documento == 1) self.Send('s');
    }
  });
  ASSERT_EQ(saver.Receive(), 's');
  Sleep(30);
  saver.Kill();
  // Others are served, and the save's mark is free again.
  IQXCN_Lancamento* other = NewObject();
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(SaveEntry(other, 999), S_OK);
  other->Release();
  EXPECT_TRUE(WaitGone());
}

class OtherUserTest : public ProcessTest {
 protected:
  // body's result in a child that became user "nobody" (kCannotSwitchUser
  // when it could not).
  static int AsNobody(const std::function<int()>& body) {
    Child child([&body](Child&) {
      return BecomeNobody() ? body() : kCannotSwitchUser;
    });
    return child.Wait();
  }

  // A client that becomes user "nobody" and exits with 0 when creating an
  // object (by its class id: the registry is not nobody's) gives `expected`
  // and, on success, the object answers.
  static int NobodyClient(HRESULT expected) {
    return AsNobody([expected] {
      RegistraClienteLancamento();
      MULTI_QI result = {&IID_IQXCN_Lancamento, nullptr, S_OK};
      HRESULT hr = CoCreateInstanceEx(CLSID_QXCN_Lancamento, nullptr, CLSCTX_LOCAL_SERVER, nullptr,
                                      1, &result);
      if (hr != expected) return 12;
      if (FAILED(hr)) return 0;
      auto* servico = static_cast<IQXCN_Lancamento*>(result.pItf);
      int32_t ok = 0;
      hr = servico->KeepAlive(&ok);
      servico->Release();
      return hr == S_OK && ok == 1 ? 0 : 13;
    });
  }

  void Check(bool disabled) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "DesabilitaAutenticacaoDCOM", disabled ? 1 : 0),
              ERROR_SUCCESS);
    IQXCN_Lancamento* own = NewObject();
    ASSERT_NE(own, nullptr);
    // The way to the socket is open to others, so the server itself decides.
    ASSERT_EQ(chmod(company_.root().c_str(), 0711), 0);
    if (!disabled) {
      ASSERT_EQ(chmod(runtime_.c_str(), 0711), 0);
    }
    int code = NobodyClient(disabled ? S_OK : E_ACCESSDENIED);
    own->Release();
    if (code == kCannotSwitchUser) GTEST_SKIP() << "cannot act as another user here";
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(WaitGone());
  }
};

TEST_F(OtherUserTest, OtherUsersAreRefusedByDefault) { Check(false); }

TEST_F(OtherUserTest, AnotherUserReadsNothingOfACompanyNorHoldsItsSaves) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  IQXCN_Lancamento* servico = NewObject();
  ASSERT_NE(servico, nullptr);
  ASSERT_EQ(SaveEntry(servico, 1), S_OK);
  // Everything made for the books (folders, month and side files, the mark, the
  // suite database with its WAL, the error log, the registry) is the owner's alone.
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(company_.root())) {
    if (entry.path().string().starts_with(runtime_)) continue;
    if (entry.is_regular_file()) files.push_back(entry.path());
    if (entry.is_regular_file() || entry.is_directory()) {
      using std::filesystem::perms;
      EXPECT_EQ(entry.status().permissions() & (perms::group_all | perms::others_all), perms::none)
          << entry.path();
    }
  }
  const std::string mark = company_.CnFolder() + "XXMARCA7.dat";
  ASSERT_TRUE(std::filesystem::exists(mark));
  // Even a user let into the folders opens none of its files: not the mark
  // either, which it would hold to keep every save waiting.
  ASSERT_EQ(chmod(company_.root().c_str(), 0711), 0);
  ASSERT_EQ(chmod((company_.root() + "/EMP1").c_str(), 0711), 0);
  ASSERT_EQ(chmod(company_.CnFolder().c_str(), 0755), 0);
  const int code = AsNobody([&files] {
    int opened = 0;
    for (const std::string& file : files) {
      const int fd = open(file.c_str(), O_RDONLY);
      if (fd >= 0) ++opened;
    }
    return opened == 0 ? 0 : 20;
  });
  if (code == kCannotSwitchUser) GTEST_SKIP() << "cannot act as another user here";
  EXPECT_EQ(code, 0);
  EXPECT_EQ(SaveEntry(servico, 2), S_OK);
  servico->Release();
  EXPECT_TRUE(WaitGone());
}

TEST_F(OtherUserTest, DisabledAuthenticationAdmitsOtherUsers) { Check(true); }

}  // namespace
}  // namespace qx::test
