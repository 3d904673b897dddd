#include "values/qx_data_curta.h"

#include <gtest/gtest.h>

namespace {

TEST(CQXDataCurta, BothWaysAroundTheMissingDayAndTheEnds) {
  // 18322 is the 29 February 1900 that does not exist: it reads as the 28th.
  const std::pair<uint16_t, CQXData> cases[] = {{1, CQXData::Make(1, 1, 1850)},
                                                {18321, CQXData::Make(28, 2, 1900)},
                                                {18323, CQXData::Make(1, 3, 1900)},
                                                {65535, CQXData::Make(4, 6, 2029)}};
  for (const auto& [value, date] : cases) {
    EXPECT_EQ(CQXDataCurta(value).Data(), date) << value;
    EXPECT_EQ(CQXDataCurta(date).Value(), value) << value;
  }
  EXPECT_EQ(CQXDataCurta(18322).Data(), CQXData::Make(28, 2, 1900));
  EXPECT_TRUE(CQXDataCurta(0).Data().IsEmpty());
  // Out of the short range: before 1850 or after 2029-06-04.
  for (const CQXData& date : {CQXData(), CQXData::Make(31, 12, 1849), CQXData::Make(5, 6, 2029)}) {
    EXPECT_TRUE(CQXDataCurta(date).IsEmpty()) << date.Value();
  }
}

TEST(CQXDataCurta, EveryShortDateRoundTripsExceptTheMissingDay) {
  for (uint32_t value = 1; value <= 65535; ++value) {
    const CQXDataCurta curta(static_cast<uint16_t>(value));
    ASSERT_EQ(CQXDataCurta(curta.Data()).Value(), value == 18322 ? 18321 : value) << value;
  }
}

}  // namespace
