#include "values/qx_mes_ano.h"

#include <gtest/gtest.h>

namespace {

TEST(CQXMesAno, MakeSplitAndInvalidInput) {
  EXPECT_EQ(CQXMesAno::Make(1, 1848).Value(), 1);
  EXPECT_EQ(CQXMesAno::Make(12, 4717).Value(), 34440);
  EXPECT_EQ(CQXMesAno::Make(3, 2024).Value(), 2115);
  EXPECT_EQ(CQXMesAno::Make(3, 24), CQXMesAno::Make(3, 2024));
  EXPECT_EQ(CQXMesAno::Make(3, 84), CQXMesAno::Make(3, 1984));
  EXPECT_EQ(CQXMesAno(12).Month(), 12);
  EXPECT_EQ(CQXMesAno(13).Year(), 1849);
  const int made[][2] = {{0, 2024}, {13, 2024}, {-1, 2024}, {12, 1847}, {1, 4718}};
  for (const auto& [month, year] : made) {
    EXPECT_TRUE(CQXMesAno::Make(month, year).IsEmpty()) << month << "/" << year;
  }
  EXPECT_TRUE(CQXMesAno(34441).IsEmpty());
  EXPECT_TRUE(CQXMesAno(65535).IsEmpty());
  EXPECT_EQ(CQXMesAno().Split(), qx::CivilDate{});
  EXPECT_EQ(CQXMesAno().Yyyymm(), 0);
}

TEST(CQXMesAno, EveryValidValueSplitsAndMakesBack) {
  for (uint32_t value = 1; value <= CQXMesAno::kLast; ++value) {
    const CQXMesAno mesAno(value);
    ASSERT_EQ(CQXMesAno::Make(mesAno.Month(), mesAno.Year()).Value(), value);
    ASSERT_EQ(CQXMesAno::FromYyyymm(mesAno.Yyyymm()).Value(), value);
  }
}

TEST(CQXMesAno, AddsMonthsAndReadsYyyymm) {
  const CQXMesAno december = CQXMesAno::Make(12, 2023);
  EXPECT_EQ(december.Add(1), CQXMesAno::Make(1, 2024));
  EXPECT_EQ(december.Add(-12), CQXMesAno::Make(12, 2022));
  EXPECT_TRUE(CQXMesAno(34440).Add(1).IsEmpty());
  EXPECT_TRUE(CQXMesAno(1).Add(-1).IsEmpty());
  EXPECT_TRUE(CQXMesAno(1).Add(2000000000).IsEmpty());
  EXPECT_TRUE(CQXMesAno(1).Add(-2000000000).IsEmpty());
  EXPECT_EQ(CQXMesAno::Make(3, 2024).Yyyymm(), 202403);
  for (int yyyymm : {202413, 202400, -202403, 471801}) {
    EXPECT_TRUE(CQXMesAno::FromYyyymm(yyyymm).IsEmpty()) << yyyymm;
  }
}

}  // namespace
