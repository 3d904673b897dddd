#include "diagnostics/profiler_statistics.h"

#include <gtest/gtest.h>

#include <vector>

#include "profiler_test_identity.h"

namespace qx {
namespace {

constexpr char kFrame[] =
    "T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::Inicializa_Padrao";

TEST(ProfilerStatistics, FrameNameParts) {
  EXPECT_EQ(SplitFrameName(kFrame),
            std::make_pair(std::string("T_QXUnknown"), std::string("Inicializa_Padrao")));
  EXPECT_EQ(SplitFrameName("CQXCN_Lancamento::GetCredito"),
            std::make_pair(std::string("CQXCN_Lancamento"), std::string("GetCredito")));
  EXPECT_EQ(SplitFrameName("A::B::C"), std::make_pair(std::string("A"), std::string("B")));
  EXPECT_EQ(SplitFrameName("QXCoCreateInstance"),
            std::make_pair(std::string("QXCoCreateInstance"), std::string()));
  EXPECT_EQ(SplitFrameName(""), std::make_pair(std::string(), std::string()));
}

std::vector<std::pair<CallKey, CallFigures>> Leaves(const CallStatistics& stats) {
  std::vector<std::pair<CallKey, CallFigures>> leaves;
  stats.ForEach([&](const CallKey& k, const CallFigures& f) { leaves.emplace_back(k, f); });
  return leaves;
}

TEST(ProfilerStatistics, RecordAndMerge) {
  TestIdentity a("EMP1", 3);
  CallStatistics first;
  EXPECT_TRUE(first.Empty());
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 0, 25'000);          // 2.5 ms -> 2
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 100, 100 + 90'000);  // 9 ms
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 50'000, 10'000);     // clock set back -> 0
  first.RecordCall(nullptr, "CQXCN_Lancamento::Grava", 0, 10'000);

  auto leaves = Leaves(first);
  ASSERT_EQ(leaves.size(), 2u);
  EXPECT_EQ(leaves[0].first, (CallKey{"", "", "CQXCN_Lancamento", "Grava", 0}));
  const auto& [key, figures] = leaves[1];
  EXPECT_EQ(key, (CallKey{"EMP1", "QXCONTAB", "CQXCN_Lancamento", "Grava", 3}));
  EXPECT_EQ(figures.count, 3);
  EXPECT_EQ(figures.totalMs, 11);
  EXPECT_EQ(figures.longestMs, 9);
  EXPECT_EQ(figures.shortestMs, 0);

  // Two objects with the same keys merge into one leaf whose count is the sum.
  CallStatistics second;
  second.RecordCall(&a, "CQXCN_Lancamento::Grava", 0, 200'000);  // 20 ms
  TestIdentity b("EMP2", 3);
  second.RecordCall(&b, "CQXCN_Lancamento::Grava", 0, 10'000);
  CallStatistics process;
  process.Merge(first);
  process.Merge(second);
  process.Merge(process);  // merging a map into itself changes nothing
  leaves = Leaves(process);
  ASSERT_EQ(leaves.size(), 3u);
  EXPECT_EQ(leaves[1].second.count, 4);
  EXPECT_EQ(leaves[1].second.totalMs, 31);
  EXPECT_EQ(leaves[1].second.longestMs, 20);
  EXPECT_EQ(leaves[1].second.shortestMs, 0);
  EXPECT_EQ(leaves[2].first.empresa, "EMP2");
  EXPECT_EQ(leaves[2].second.shortestMs, 1);
}

TEST(ProfilerStatistics, ShortestStartsAsNone) {
  CallFigures figures;
  EXPECT_FALSE(figures.shortestMs.has_value());
  CallFigures empty;
  figures.Merge(empty);
  EXPECT_FALSE(figures.shortestMs.has_value());
  figures.Add(5);
  figures.Merge(empty);
  EXPECT_EQ(figures.shortestMs, 5);
  EXPECT_EQ(figures.count, 1);
}

}  // namespace
}  // namespace qx
