// Statements kept by the connection: a failed run, a statement still in use,
// one dropped half-way and more texts than the cache keeps all behave as
// freshly prepared statements did.
#include <cctype>
#include <string>
#include <vector>

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "outside_test_company.h"

namespace qx {
namespace {

class StatementCacheTest : public OnBothBackends<OutsideTest> {
 protected:
  void SetUp() override {
    OutsideTest::SetUp();
    if (IsSkipped()) return;
    MakeCompany();
    db_ = Open();
    ASSERT_EQ(db_->Execute("CREATE TABLE t (x INTEGER UNIQUE, y TEXT)"), S_OK) << db_->message();
  }
  HRESULT Insert(int64_t x) {
    return db_->Write([&] {
      SqlStatement insert(*db_, "INSERT INTO t (x, y) VALUES (?, ?)");
      return insert.Bind(1, x).BindText(2, "a").Run();
    });
  }
  std::vector<int64_t> Values() {
    std::vector<int64_t> values;
    EXPECT_EQ(ForEachRow(
                  *db_, "SELECT x FROM t ORDER BY x", [](SqlStatement&) {},
                  [&](const SqlStatement& row) { values.push_back(row.Int(0)); }),
              S_OK);
    return values;
  }
  std::shared_ptr<SuiteDatabase> db_;
};
QX_ON_BOTH_BACKENDS(StatementCacheTest);

TEST_P(StatementCacheTest, ReusedStatementsBehaveAsFreshOnes) {
  EXPECT_EQ(Insert(1), S_OK);
  // A failed run leaves the statement usable, and its message is kept.
  EXPECT_EQ(Insert(1), E_QXDF_JA_EXISTE);
  std::string message = db_->message();
  for (char& c : message) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(message.find("unique"), std::string::npos) << message;
  EXPECT_EQ(Insert(2), S_OK);
  // Parameters of an earlier run do not stay bound: an unbound one is null.
  EXPECT_EQ(
      db_->Write([&] { return SqlStatement(*db_, "INSERT INTO t (x, y) VALUES (?, ?)").Run(); }),
      S_OK);
  {
    SqlStatement nulls(*db_, "SELECT count(*) FROM t WHERE x IS NULL AND y IS NULL");
    EXPECT_EQ(nulls.StepOne(), S_OK);
    EXPECT_EQ(nulls.Int(0), 1);
  }

  // The same text while its statement is in use gets a statement of its own.
  std::vector<int64_t> outer;
  EXPECT_EQ(ForEachRow(
                *db_, "SELECT x FROM t WHERE x IS NOT NULL ORDER BY x", [](SqlStatement&) {},
                [&](const SqlStatement& row) {
                  outer.push_back(row.Int(0));
                  SqlStatement inner(*db_, "SELECT x FROM t WHERE x IS NOT NULL ORDER BY x");
                  EXPECT_EQ(inner.StepOne(), S_OK);
                  EXPECT_EQ(inner.Int(0), 1);
                }),
            S_OK);
  EXPECT_EQ(outer, (std::vector<int64_t>{1, 2}));

  // A statement dropped after its first row holds no lock on the table.
  {
    SqlStatement half(*db_, "SELECT x FROM t");
    EXPECT_EQ(half.StepOne(), S_OK);
  }
  EXPECT_EQ(db_->Execute("DROP TABLE t"), S_OK) << db_->message();
  // A kept statement over the dropped table fails, as a fresh one would.
  const HRESULT dropped = Insert(3);
  EXPECT_TRUE(FAILED(dropped));
  EXPECT_EQ(Insert(3), dropped);
}

TEST_P(StatementCacheTest, MoreTextsThanKeptAndFailedPreparations) {
  for (size_t i = 0; i < SuiteDatabase::kMaxCachedStatements + 8; ++i) {
    std::string sql = "SELECT ";
    sql += std::to_string(i);
    SqlStatement query(*db_, sql.c_str());
    ASSERT_EQ(query.StepOne(), S_OK) << i;
    EXPECT_EQ(query.Int(0), static_cast<int64_t>(i));
  }
  // A text that does not prepare fails every time, with the connection's message.
  for (int round = 0; round < 2; ++round) {
    SqlStatement bad(*db_, "SELECT nada FROM t");
    EXPECT_EQ(bad.Run(), E_QXDF_BANCO_FALHA);
    EXPECT_NE(db_->message().find("nada"), std::string::npos) << db_->message();
  }
  EXPECT_EQ(Insert(5), S_OK);
  EXPECT_EQ(Values(), std::vector<int64_t>{5});
}

}  // namespace
}  // namespace qx
