// The server program started on demand: it serves, stays while clients come,
// ends after the idle time, and sends its usage analytics at its end.
#include "outside/admin/suite_setup.h"
#include "outside/database/sql_statement.h"
#include "process_fixture.h"

namespace qx::test {
namespace {

// A server no client reaches ends by itself; one that clients reach stays past
// the idle time while an object or a server lock of theirs lives.
TEST_F(ProcessTest, StartsOnDemandAndStaysWhileClientsHoldIt) {
  EXPECT_EQ(RunOstrel({"-Embedding"}), 0);
  ASSERT_FALSE(ServerRunning());
  HRESULT hr = E_FAIL;
  IQXCN_Lancamento* first = NewObject(&hr);
  ASSERT_EQ(hr, S_OK);
  EXPECT_TRUE(ServerRunning());
  EXPECT_EQ(SaveEntry(first, 5), S_OK);
  first->Release();
  // Within the idle time of the first release.
  IQXCN_Lancamento* second = NewObject();
  ASSERT_NE(second, nullptr);
  Sleep(kTempoOciosoMs + 1500);
  // The same connection still answers: the server did not end.
  int32_t ok = 0;
  EXPECT_EQ(second->KeepAlive(&ok), S_OK);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(second->SetDebito(9), S_OK);
  EXPECT_TRUE(ServerRunning());
  void* object = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_QXCN_Lancamento, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                             &object),
            S_OK);
  auto* factory = static_cast<IClassFactory*>(object);
  ASSERT_EQ(factory->LockServer(1), S_OK);
  second->Release();
  Sleep(kTempoOciosoMs + 1500);
  EXPECT_TRUE(ServerRunning());
  EXPECT_EQ(factory->LockServer(0), S_OK);
  EXPECT_TRUE(WaitGone());
  factory->Release();
}

TEST_F(ProcessTest, UsageAnalyticsAreSentAtTheEnd) {
  ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "AnalyticsAtivado", 1), ERROR_SUCCESS);
  for (int i = 0; i < 2; ++i) {
    IQXCN_Lancamento* servico = NewObject();
    ASSERT_NE(servico, nullptr);
    int32_t conta = 0;
    for (int j = 0; j < 3; ++j) EXPECT_EQ(servico->GetDebito(&conta), S_OK);
    servico->Release();
  }
  ASSERT_TRUE(WaitGone());
  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  ASSERT_EQ(OpenRegisteredCompany(TestCompany::Store(), TestCompany::kCodigo, &db, &message), S_OK);
  // The server sends its figures after it has given up the class, on its way out.
  int64_t calls = -1;
  std::string origin;
  HRESULT read = S_OK;
  WaitFor([&] {
    read = ForEachRow(
        *db, "SELECT quantidade, origem FROM analytics WHERE metodo = 'GetDebito'",
        [](SqlStatement&) {},
        [&](const SqlStatement& row) {
          calls = row.Int(0);
          origin = row.Text(1);
        });
    return FAILED(read) || calls != -1;
  });
  ASSERT_EQ(read, S_OK);
  EXPECT_EQ(calls, 6);
  EXPECT_EQ(origin, "Ostrel");
}

}  // namespace
}  // namespace qx::test
