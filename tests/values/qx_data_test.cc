#include "values/qx_data.h"

#include <gtest/gtest.h>

#include "values/qx_mes_ano.h"

namespace {

using qx::CivilDate;

TEST(CQXData, MakesKnownDatesCutsDaysAndReadsTwoDigitYears) {
  EXPECT_EQ(CQXData::Make(1, 1, 1848).Value(), 2u);
  EXPECT_EQ(CQXData::Make(1, 3, 1900).Value(), 19054u);
  EXPECT_EQ(CQXData::Make(29, 2, 1900).Value(), 19053u);  // 1900 is a common year: the 28th
  EXPECT_EQ(CQXData::Make(29, 2, 2024).Value(), 64344u);
  EXPECT_EQ(CQXData::Make(31, 12, 4717).Value(), 1048247u);
  EXPECT_EQ(CQXData::Make(29, 2, 2000).Value() + 1, CQXData::Make(1, 3, 2000).Value());
  EXPECT_EQ(CQXData::Make(31, 4, 2023), CQXData::Make(30, 4, 2023));
  EXPECT_EQ(CQXData::Make(99, 12, 2023), CQXData::Make(31, 12, 2023));
  // Years 0..83 are 2000..2083, 84..99 are 1984..1999.
  EXPECT_EQ(CQXData::Make(1, 1, 0), CQXData::Make(1, 1, 2000));
  EXPECT_EQ(CQXData::Make(1, 1, 83), CQXData::Make(1, 1, 2083));
  EXPECT_EQ(CQXData::Make(1, 1, 84), CQXData::Make(1, 1, 1984));
  EXPECT_EQ(CQXData::Make(1, 1, 99), CQXData::Make(1, 1, 1999));
}

TEST(CQXData, InvalidInputGivesTheEmptyDate) {
  const int made[][3] = {{0, 1, 2024}, {1, 0, 2024}, {1, 13, 2024},  {-1, 1, 2024},
                         {1, 1, -5},   {1, 1, 100},  {31, 12, 1847}, {1, 1, 4718}};
  for (const auto& [day, month, year] : made) {
    EXPECT_TRUE(CQXData::Make(day, month, year).IsEmpty()) << day << "/" << month << "/" << year;
  }
  for (uint32_t raw : {1u, 1048248u, 0xFFFFFFFFu}) {
    const CQXData date(raw);
    EXPECT_TRUE(date.IsEmpty()) << raw;
    EXPECT_EQ(date.Split(), CivilDate{}) << raw;
    EXPECT_EQ(date.DayOfWeek(), 0);
    EXPECT_TRUE(date.FirstDayOfMonth().IsEmpty());
    EXPECT_TRUE(date.LastDayOfMonth().IsEmpty());
    EXPECT_TRUE(date.MesAno().IsEmpty());
  }
}

TEST(CQXData, EveryValidValueSplitsAndMakesBack) {
  CivilDate previous{31, 12, 1847};
  for (uint32_t value = 2; value <= 1048247; ++value) {
    const CivilDate date = CQXData(value).Split();
    // Each value is the day after the previous one.
    const bool nextDay =
        date.year == previous.year && date.month == previous.month && date.day == previous.day + 1;
    const bool nextMonth = date.day == 1 && (date.month == previous.month + 1 ||
                                             (date.month == 1 && date.year == previous.year + 1));
    ASSERT_TRUE(nextDay || nextMonth) << value;
    ASSERT_EQ(CQXData::Make(date.day, date.month, date.year).Value(), value);
    previous = date;
  }
  EXPECT_EQ(previous, (CivilDate{31, 12, 4717}));
}

TEST(CQXData, DayOfWeekMonthBoundsAndMonthYear) {
  EXPECT_EQ(CQXData::Make(1, 1, 2024).DayOfWeek(), 2);   // Monday
  EXPECT_EQ(CQXData::Make(7, 1, 2024).DayOfWeek(), 1);   // Sunday
  EXPECT_EQ(CQXData::Make(13, 1, 2024).DayOfWeek(), 7);  // Saturday
  EXPECT_EQ(CQXData(2).DayOfWeek(), 7);                  // 1848-01-01 was a Saturday

  const CQXData date = CQXData::Make(15, 2, 2024);
  EXPECT_EQ(date.FirstDayOfMonth(), CQXData::Make(1, 2, 2024));
  EXPECT_EQ(date.LastDayOfMonth(), CQXData::Make(29, 2, 2024));
  EXPECT_EQ(CQXData::Make(10, 2, 2023).LastDayOfMonth(), CQXData::Make(28, 2, 2023));
  EXPECT_EQ(CQXData(1048247).LastDayOfMonth().Value(), 1048247u);
  EXPECT_EQ(CQXData(2).FirstDayOfMonth().Value(), 2u);
  EXPECT_EQ(date.MesAno(), CQXMesAno::Make(2, 2024));

  const CQXMesAno february = CQXMesAno::Make(2, 2023);
  EXPECT_EQ(CQXData::FromMesAno(february, 10), CQXData::Make(10, 2, 2023));
  EXPECT_EQ(CQXData::FromMesAno(february, 31), CQXData::Make(28, 2, 2023));
  EXPECT_TRUE(CQXData::FromMesAno(february, 0).IsEmpty());
  EXPECT_TRUE(CQXData::FromMesAno(CQXMesAno(), 1).IsEmpty());
  EXPECT_EQ(CQXData::Today().MesAno(), CQXMesAno::Current());
}

}  // namespace
