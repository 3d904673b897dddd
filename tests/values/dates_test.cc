// Dates, month-years and short dates: making, splitting, arithmetic and their text layouts.
#include <gtest/gtest.h>

#include <array>

#include "values/qx_data.h"
#include "values/qx_data_curta.h"
#include "values/qx_mes_ano.h"

namespace {

using qx::CivilDate;
using D = CQXData;
using M = CQXMesAno;

TEST(CQXData, CutsDaysReadsTwoDigitYearsAndRefusesInvalidInput) {
  // Days past the month's end are cut; years 0..83 are 2000..2083, 84..99 are 1984..1999.
  const std::pair<D, D> same[] = {
      {D::Make(31, 4, 2023), D::Make(30, 4, 2023)}, {D::Make(99, 12, 2023), D::Make(31, 12, 2023)},
      {D::Make(29, 2, 1900), D::Make(28, 2, 1900)}, {D::Make(1, 1, 0), D::Make(1, 1, 2000)},
      {D::Make(1, 1, 83), D::Make(1, 1, 2083)},     {D::Make(1, 1, 84), D::Make(1, 1, 1984)},
      {D::Make(1, 1, 99), D::Make(1, 1, 1999)}};
  for (const auto& [made, expected] : same) EXPECT_EQ(made, expected) << expected.Value();

  // Invalid input gives the empty date.
  const int made[][3] = {{0, 1, 2024}, {1, 0, 2024}, {1, 13, 2024},  {-1, 1, 2024},
                         {1, 1, -5},   {1, 1, 100},  {31, 12, 1847}, {1, 1, 4718}};
  for (const auto& [day, month, year] : made) {
    EXPECT_TRUE(D::Make(day, month, year).IsEmpty()) << day << "/" << month << "/" << year;
  }
  for (uint32_t raw : {1u, 1048248u, 0xFFFFFFFFu}) {
    const D date(raw);
    EXPECT_TRUE(date.IsEmpty() && date.FirstDayOfMonth().IsEmpty() &&
                date.LastDayOfMonth().IsEmpty() && date.MesAno().IsEmpty())
        << raw;
    EXPECT_EQ(date.Split(), CivilDate{}) << raw;
    EXPECT_EQ(date.DayOfWeek(), 0);
  }
}

TEST(CQXData, DayOfWeekMonthBoundsMonthYearAndEveryValueSplitsAndMakesBack) {
  // Monday, Sunday, Saturday; 1848-01-01 was a Saturday.
  const std::pair<D, int> weekdays[] = {
      {D::Make(1, 1, 2024), 2}, {D::Make(7, 1, 2024), 1}, {D::Make(13, 1, 2024), 7}, {D(2), 7}};
  for (const auto& [date, day] : weekdays) EXPECT_EQ(date.DayOfWeek(), day) << date.Value();
  const D date = D::Make(15, 2, 2024);
  const M february = M::Make(2, 2023);
  const std::pair<D, D> same[] = {{date.FirstDayOfMonth(), D::Make(1, 2, 2024)},
                                  {date.LastDayOfMonth(), D::Make(29, 2, 2024)},
                                  {D::Make(10, 2, 2023).LastDayOfMonth(), D::Make(28, 2, 2023)},
                                  {D(1048247).LastDayOfMonth(), D(1048247)},
                                  {D(2).FirstDayOfMonth(), D(2)},
                                  {D::FromMesAno(february, 10), D::Make(10, 2, 2023)},
                                  {D::FromMesAno(february, 31), D::Make(28, 2, 2023)},
                                  {D::FromMesAno(february, 0), D()},
                                  {D::FromMesAno(M(), 1), D()}};
  for (const auto& [got, expected] : same) EXPECT_EQ(got, expected) << expected.Value();
  EXPECT_EQ(date.MesAno(), M::Make(2, 2024));
  EXPECT_EQ(D::Today().MesAno(), M::Current());

  // Every valid value splits and makes back.
  CivilDate previous{31, 12, 1847};
  for (uint32_t value = 2; value <= 1048247; ++value) {
    const CivilDate date = D(value).Split();
    // Each value is the day after the previous one.
    const bool nextDay =
        date.year == previous.year && date.month == previous.month && date.day == previous.day + 1;
    const bool nextMonth = date.day == 1 && (date.month == previous.month + 1 ||
                                             (date.month == 1 && date.year == previous.year + 1));
    ASSERT_TRUE(nextDay || nextMonth) << value;
    ASSERT_EQ(D::Make(date.day, date.month, date.year).Value(), value);
    previous = date;
  }
  EXPECT_EQ(previous, (CivilDate{31, 12, 4717}));
}

TEST(CQXMesAnoAndCQXDataCurta, MakeSplitAddInvalidInputAndEveryShortDateRoundTrips) {
  const std::pair<M, int> values[] = {{M::Make(1, 1848), 1},
                                      {M::Make(12, 4717), 34440},
                                      {M::Make(3, 2024), 2115},
                                      {M::Make(3, 24), 2115},
                                      {M::Make(3, 84), M::Make(3, 1984).Value()},
                                      {M::Make(12, 2023).Add(1), M::Make(1, 2024).Value()},
                                      {M::Make(12, 2023).Add(-12), M::Make(12, 2022).Value()}};
  for (const auto& [made, value] : values) EXPECT_EQ(made.Value(), value);
  const int made[][2] = {{0, 2024}, {13, 2024}, {-1, 2024}, {12, 1847}, {1, 4718}};
  for (const auto& [month, year] : made) {
    EXPECT_TRUE(M::Make(month, year).IsEmpty()) << month << "/" << year;
  }
  for (M empty : {M(34441), M(65535), M(34440).Add(1), M(1).Add(-1), M(1).Add(2000000000),
                  M(1).Add(-2000000000), M::FromYyyymm(202413), M::FromYyyymm(202400),
                  M::FromYyyymm(-202403), M::FromYyyymm(471801)}) {
    EXPECT_TRUE(empty.IsEmpty()) << empty.Value();
  }
  EXPECT_EQ(M().Split(), CivilDate{});
  EXPECT_EQ(M().Yyyymm(), 0);
  EXPECT_EQ(M::Make(3, 2024).Yyyymm(), 202403);
  for (uint32_t value = 1; value <= M::kLast; ++value) {
    const M mesAno(value);
    ASSERT_EQ(M::Make(mesAno.Month(), mesAno.Year()).Value(), value);
    ASSERT_EQ(M::FromYyyymm(mesAno.Yyyymm()).Value(), value);
  }

  // Every short date round-trips around the missing day and the ends.
  // 18322 is the 29 February 1900 that does not exist: it reads as the 28th.
  const std::pair<uint16_t, D> cases[] = {{1, D::Make(1, 1, 1850)},
                                          {18321, D::Make(28, 2, 1900)},
                                          {18323, D::Make(1, 3, 1900)},
                                          {65535, D::Make(4, 6, 2029)}};
  for (const auto& [value, date] : cases) {
    EXPECT_EQ(CQXDataCurta(value).Data(), date) << value;
    EXPECT_EQ(CQXDataCurta(date).Value(), value) << value;
  }
  EXPECT_TRUE(CQXDataCurta(0).Data().IsEmpty());
  // Out of the short range: before 1850 or after 2029-06-04.
  for (const D& date : {D(), D::Make(31, 12, 1849), D::Make(5, 6, 2029)}) {
    EXPECT_TRUE(CQXDataCurta(date).IsEmpty()) << date.Value();
  }
  for (uint32_t value = 1; value <= 65535; ++value) {
    const CQXDataCurta curta(static_cast<uint16_t>(value));
    ASSERT_EQ(CQXDataCurta(curta.Data()).Value(), value == 18322 ? 18321 : value) << value;
  }
}

struct TextCase {
  int layout;
  char separator;
  const char* text;
};

TEST(PeriodText, LayoutsWideYearsEmptyValuesAndBufferSizes) {
  const D date = D::Make(5, 3, 2024);
  const TextCase dates[] = {{0, '/', "05/03/24"},
                            {0, 0, "050324"},
                            {1, '/', "05/03/2024"},
                            {2, '/', "03/05/24"},
                            {3, '-', "03-05-2024"},
                            {4, '/', "24/03/05"},
                            {5, '-', "2024-03-05"},
                            {5, 0, "20240305"},
                            {7, 0, ""},
                            {-1, 0, ""}};
  for (const auto& [layout, separator, text] : dates) {
    EXPECT_EQ(date.Text(layout, separator), text) << layout;
  }
  const M march = M::Make(3, 2024);
  const TextCase months[] = {{7, 0, "0324"},    {7, '/', "03/24"},    {8, '/', "03/2024"},
                             {9, '/', "24/03"}, {10, '/', "2024/03"}, {10, 0, "202403"},
                             {11, '/', "2024"}, {6, 0, ""},           {12, 0, ""}};
  for (const auto& [layout, separator, text] : months) {
    EXPECT_EQ(march.Text(layout, separator), text) << layout;
  }
  // Wide years outside 1984..2083 show all four digits.
  const std::pair<std::string, std::string> texts[] = {
      {date.Text(6), "05 de mar\xE7o de 2024"},
      {D::Make(31, 12, 4717).Text(6), "31 de dezembro de 4717"},
      {D::Make(1, 2, 1983).Text(0, '/', true), "01/02/1983"},
      {D::Make(1, 2, 1984).Text(0, '/', true), "01/02/84"},
      {D::Make(1, 2, 2083).Text(2, '/', true), "02/01/83"},
      {D::Make(1, 2, 2084).Text(4, '/', true), "2084/02/01"},
      {D().Text(0, '/'), "00/00/00"},
      {D().Text(1, '/'), "00/00/0000"},
      {D().Text(6), ""},
      {M::Make(3, 1900).Text(7, 0, true), "031900"},
      {M::Make(3, 1900).Text(7), "0300"},
      {M().Text(7, '/'), "00/00"},
      {M(34441).Text(7), "0000"}};
  for (const auto& [got, expected] : texts) EXPECT_EQ(got, expected);

  // Buffers too small for the layout are refused.
  std::array<char, 8> buffer;
  buffer.fill('x');
  EXPECT_EQ(march.Format(std::span(buffer).first(5), 7), 0u);  // "0324" fits, but 6 is asked
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(march.Format(std::span(buffer).first(6), 7, '/'), 5u);
  EXPECT_STREQ(buffer.data(), "03/24");
  EXPECT_EQ(march.Format(std::span(buffer).first(7), 8), 0u);
  EXPECT_EQ(march.Format(buffer, 8, '/'), 7u);
  EXPECT_STREQ(buffer.data(), "03/2024");
  EXPECT_EQ(M::Make(3, 1900).Format(std::span(buffer).first(6), 7, '/', true), 0u);
  EXPECT_EQ(march.Format(std::span<char>(), 7), 0u);
  std::array<char, 10> small;
  EXPECT_EQ(D::Make(5, 3, 2024).Format(small, 1, '/'), 0u);  // needs 11 bytes
  EXPECT_EQ(small[0], 0);
}

}  // namespace
