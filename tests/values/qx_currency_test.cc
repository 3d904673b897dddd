#include "values/qx_currency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr CURRENCY Money(int64_t tenThousandths) { return CURRENCY{tenThousandths}; }

TEST(CQXCurrency, ArithmeticWithFourOrTwoDecimalsRoundingAndImpossibleResults) {
  const CQXCurrency amount(Money(123456));  // 12.3456
  EXPECT_EQ((amount + Money(10000)).Value(), Money(133456));
  EXPECT_EQ((amount - 2).Value(), Money(103456));
  EXPECT_EQ((amount * 3).Value(), Money(370368));
  EXPECT_EQ((amount * Money(5000)).Value(), Money(61728));  // x 0.5
  EXPECT_EQ((CQXCurrency(Money(10000)) / 3).Value(), Money(3333));
  EXPECT_EQ((CQXCurrency(Money(20000)) / 3).Value(), Money(6667));  // nearest ten-thousandth
  EXPECT_EQ(amount.Compute('*', 2).Value(), Money(246912));
  EXPECT_EQ(CQXCurrency(Money(2000000)).Percentage(Money(500000)).Value(), Money(250000));

  // Impossible results are invalid and zero.
  const CQXCurrency one(Money(10000));
  for (const CQXCurrency& result :
       {one / 0, one / Money(0), one.Compute('%', 2), one.Compute('x', Money(1)),
        CQXCurrency().Percentage(Money(10000)),
        CQXCurrency(Money(std::numeric_limits<int64_t>::max())) * 2,
        CQXCurrency(Money(std::numeric_limits<int64_t>::min())) * Money(20000)}) {
    EXPECT_FALSE(result.IsValid());
    EXPECT_EQ(result.Value(), Money(0));
  }
  EXPECT_FALSE(((one / 0) + 1).IsValid());  // stays invalid
  EXPECT_TRUE((one * 3).IsValid());

  // Two decimals cut toward zero unless rounding.
  EXPECT_EQ((CQXCurrency(Money(123456), 2) * 1).Value(), Money(123400));
  EXPECT_EQ((CQXCurrency(Money(-123456), 2) * 1).Value(), Money(-123400));
  EXPECT_EQ((CQXCurrency(Money(-1000000), 2) / 3).Value(), Money(-333300));
  EXPECT_EQ(CQXCurrency(Money(30000), 2).Percentage(Money(10000)).Value(), Money(333300));
  // 100.00 x 33.3333 % in two steps, as a split over percentages does it.
  const CQXCurrency product = CQXCurrency(Money(1000000), 2) * Money(333333);
  EXPECT_EQ(product.Value(), Money(33333300));
  EXPECT_EQ((product / 100).Value(), Money(333300));
  EXPECT_EQ((product / 100).Decimals(), 2);

  CQXCurrency rounded(Money(123456), 2);
  rounded.SetRounding(true);
  EXPECT_EQ((rounded * 1).Value(), Money(123500));
  CQXCurrency whole(Money(25000), 0);
  whole.SetRounding(true);
  EXPECT_EQ((whole + 0).Value(), Money(30000));  // 2.5 rounds away from zero
}

}  // namespace
