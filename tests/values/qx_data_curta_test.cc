#include "values/qx_data_curta.h"

#include <gtest/gtest.h>

namespace {

TEST(CQXDataCurta, ToDateAroundTheMissingDay) {
  EXPECT_EQ(CQXDataCurta(1).Data(), CQXData::Make(1, 1, 1850));
  EXPECT_EQ(CQXDataCurta(18321).Data(), CQXData::Make(28, 2, 1900));
  EXPECT_EQ(CQXDataCurta(18322).Data(), CQXData::Make(28, 2, 1900));
  EXPECT_EQ(CQXDataCurta(18323).Data(), CQXData::Make(1, 3, 1900));
  EXPECT_EQ(CQXDataCurta(65535).Data(), CQXData::Make(4, 6, 2029));
  EXPECT_TRUE(CQXDataCurta(0).Data().IsEmpty());
}

TEST(CQXDataCurta, FromDate) {
  EXPECT_EQ(CQXDataCurta(CQXData::Make(1, 1, 1850)).Value(), 1);
  EXPECT_EQ(CQXDataCurta(CQXData::Make(28, 2, 1900)).Value(), 18321);
  EXPECT_EQ(CQXDataCurta(CQXData::Make(1, 3, 1900)).Value(), 18323);
  EXPECT_EQ(CQXDataCurta(CQXData::Make(4, 6, 2029)).Value(), 65535);
  // Out of the short range: before 1850 or after 2029-06-04.
  EXPECT_TRUE(CQXDataCurta(CQXData()).IsEmpty());
  EXPECT_TRUE(CQXDataCurta(CQXData::Make(31, 12, 1849)).IsEmpty());
  EXPECT_TRUE(CQXDataCurta(CQXData::Make(1, 1, 1848)).IsEmpty());
  EXPECT_TRUE(CQXDataCurta(CQXData::Make(5, 6, 2029)).IsEmpty());
}

TEST(CQXDataCurta, EveryShortDateRoundTripsExceptTheMissingDay) {
  for (uint32_t value = 1; value <= 65535; ++value) {
    const CQXDataCurta curta(static_cast<uint16_t>(value));
    const uint16_t back = CQXDataCurta(curta.Data()).Value();
    ASSERT_EQ(back, value == 18322 ? 18321 : value) << value;
  }
}

}  // namespace
