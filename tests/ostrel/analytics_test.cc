// The process's usage analytics: the merge of the objects' statistics, the
// single analytics object, and the figures sent at the end.
#include <gtest/gtest.h>

#include "../outside/outside_test_company.h"
#include "outside/database/sql_statement.h"
#include "server/qx_analytics.h"
#include "server/usage_handoff.h"

namespace qx {
namespace {

struct Row {
  std::string empresa, origem, classe, metodo;
  int64_t quantidade, total, maior, menor, usuario;
  bool operator==(const Row&) const = default;
};

class AnalyticsTest : public OutsideTest {
 protected:
  AnalyticsTest() {
    MakeCompany();
    Enable(1);
  }

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

  static void Enable(uint32_t on) {
    ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "AnalyticsAtivado", on), ERROR_SUCCESS);
  }
};

// One analytics object per process merges the figures of each key. Figures of
// an unknown company, figures handed over before there is an object and
// figures sent while disabled are dropped without keeping the others back.
TEST_F(AnalyticsTest, OneObjectPerProcessMergesTheFiguresOfEachKey) {
  EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {4}));
  {
    CQXAnalytics analytics("Ostrel");
    analytics.Envia();  // no figures at all
    HRESULT thrown = S_OK;
    try {
      CQXAnalytics second("Ostrel");
    } catch (int32_t hr) {
      thrown = hr;
    }
    EXPECT_EQ(thrown, static_cast<HRESULT>(0x81080C5Au));
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {2, 9}));
    CQXProfilerEmpresa stranger("NOWHERE", 1, 1);
    CallStatistics lost;
    lost.RecordCall(&stranger, "CQXCN_Lancamento::Grava", 0, 10000);
    analytics.Merge(lost);
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Grava", {5}));
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Le", {1}, 8));
    analytics.Envia();
    Enable(0);
    EntregaEstatisticasUso(*Calls("CQXCN_Lancamento::Le", {3}, 8));
    analytics.Envia();
  }
  EXPECT_EQ(Rows(), (std::vector<Row>{
                        {kTestCompany, "Ostrel", "CQXCN_Lancamento", "Grava", 3, 16, 9, 2, 7},
                        {kTestCompany, "Ostrel", "CQXCN_Lancamento", "Le", 1, 1, 1, 1, 8}}));
  EXPECT_NO_THROW(CQXAnalytics("Ostrel"));
}

}  // namespace
}  // namespace qx
