// The process's usage analytics: the merge of the objects' statistics, the
// single analytics object, and the figures sent at the end.
#include <gtest/gtest.h>

#include "../outside/outside_test_company.h"
#include "outside/sql_statement.h"
#include "server/qx_analytics.h"
#include "server/usage_handoff.h"

namespace qx {
namespace {

struct Row {
  std::string empresa, origem, classe, metodo;
  int64_t quantidade, total, maior, menor, usuario;
};

class AnalyticsTest : public OutsideTest {
 protected:
  AnalyticsTest() { MakeCompany(); }

  // Calls of one object of the company, each with its duration in ms.
  static std::unique_ptr<CallStatistics> Calls(const char* frame,
                                               std::initializer_list<int64_t> durations,
                                               unsigned short user = 7) {
    CQXProfilerEmpresa identity(kTestCompany, user, 1);
    auto statistics = std::make_unique<CallStatistics>();
    for (int64_t ms : durations) statistics->RecordCall(&identity, frame, 0, ms * 10000);
    return statistics;
  }

  std::vector<Row> Rows() {
    std::vector<Row> rows;
    std::shared_ptr<SuiteDatabase> db = Open();
    EXPECT_EQ(ForEachRow(
                  *db,
                  "SELECT empresa, origem, classe, metodo, quantidade, total, maior, menor, "
                  "usuario FROM analytics ORDER BY id",
                  [](SqlStatement&) {},
                  [&](const SqlStatement& s) {
                    rows.push_back({s.Text(0), s.Text(1), s.Text(2), s.Text(3), s.Int(4), s.Int(5),
                                    s.Int(6), s.Int(7), s.Int(8)});
                  }),
              S_OK);
    return rows;
  }

  void Enable() {
    ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "AnalyticsAtivado", 1), ERROR_SUCCESS);
  }
};

TEST_F(AnalyticsTest, ObjectsWithTheSameKeyMergeIntoOneFigure) {
  Enable();
  {
    CQXAnalytics analytics("Ostrel");
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {2, 9}));
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {5}));
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Le", {1}, 8));
    analytics.Envia();
  }
  std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].empresa, kTestCompany);
  EXPECT_EQ(rows[0].origem, "Ostrel");
  EXPECT_EQ(rows[0].classe, "CQXCN_Lancamento");
  EXPECT_EQ(rows[0].metodo, "Grava");
  EXPECT_EQ(rows[0].quantidade, 3);
  EXPECT_EQ(rows[0].total, 16);
  EXPECT_EQ(rows[0].maior, 9);
  EXPECT_EQ(rows[0].menor, 2);
  EXPECT_EQ(rows[0].usuario, 7);
  EXPECT_EQ(rows[1].metodo, "Le");
  EXPECT_EQ(rows[1].usuario, 8);
}

TEST_F(AnalyticsTest, NothingIsSentWhenDisabledOrWithoutAnObject) {
  // No analytics object: the figures are dropped.
  EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {2}));
  {
    CQXAnalytics analytics("Ostrel");
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {2}));
    analytics.Envia();
    ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "AnalyticsAtivado", 0), ERROR_SUCCESS);
    analytics.Envia();
  }
  EXPECT_TRUE(Rows().empty());
  Enable();
  {
    CQXAnalytics analytics("Ostrel");
    analytics.Envia();  // no figures at all
  }
  EXPECT_TRUE(Rows().empty());
}

TEST_F(AnalyticsTest, UnknownCompanyDoesNotKeepOthersFromBeingSent) {
  Enable();
  CQXAnalytics analytics("Ostrel");
  CQXProfilerEmpresa stranger("NOWHERE", 1, 1);
  CallStatistics lost;
  lost.RecordCall(&stranger, "CQXCN_Lancamento::Grava", 0, 10000);
  analytics.Merge(lost);
  analytics.Merge(*Calls("CQXCN_Lancamento::Exclui", {4}));
  analytics.Envia();
  std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].metodo, "Exclui");
}

TEST_F(AnalyticsTest, SecondAnalyticsObjectFails) {
  auto first = std::make_unique<CQXAnalytics>("Ostrel");
  HRESULT thrown = S_OK;
  try {
    CQXAnalytics second("Ostrel");
  } catch (int32_t hr) {
    thrown = hr;
  }
  EXPECT_EQ(thrown, static_cast<HRESULT>(0x81080C5Au));
  // The first one is still the process's.
  Enable();
  EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {3}));
  first->Envia();
  EXPECT_EQ(Rows().size(), 1u);
  first.reset();
  EXPECT_NO_THROW(CQXAnalytics("Ostrel"));
}

}  // namespace
}  // namespace qx
