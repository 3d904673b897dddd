#include "diagnostics/profiler_statistics.h"

#include <gtest/gtest.h>

#include <vector>

#include "profiler_test_identity.h"

namespace qx {
namespace {

TEST(ProfilerStatistics, FrameNameParts) {
  const std::pair<const char*, std::pair<std::string, std::string>> cases[] = {
      {"T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::Inicializa_Padrao",
       {"T_QXUnknown", "Inicializa_Padrao"}},
      {"CQXCN_Lancamento::GetCredito", {"CQXCN_Lancamento", "GetCredito"}},
      {"A::B::C", {"A", "B"}},
      {"QXCoCreateInstance", {"QXCoCreateInstance", ""}},
      {"", {"", ""}}};
  for (const auto& [frame, parts] : cases) EXPECT_EQ(SplitFrameName(frame), parts) << frame;
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

  // Figures without calls have no shortest call, and merging them changes none.
  CallFigures single, empty;
  single.Merge(empty);
  EXPECT_FALSE(single.shortestMs.has_value());
  single.Add(5);
  single.Merge(empty);
  EXPECT_EQ(single.shortestMs, 5);
  EXPECT_EQ(single.count, 1);
}

}  // namespace
}  // namespace qx
