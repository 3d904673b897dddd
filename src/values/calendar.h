#pragma once
// Calendar arithmetic behind the day-number date: a day number counts days since
// 1847-12-30 in the proleptic Gregorian calendar, so 2 is 1848-01-01.

#include <array>
#include <cstdint>

namespace qx {

inline constexpr uint32_t kFirstDayNumber = 2;       // 1848-01-01
inline constexpr uint32_t kLastDayNumber = 1048247;  // 4717-12-31
inline constexpr int kFirstYear = 1848;
inline constexpr int kLastYear = 4717;

struct CivilDate {
  int day = 0;
  int month = 0;
  int year = 0;
  bool operator==(const CivilDate&) const = default;
};

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr bool IsValidDayNumber(uint32_t value) {
  return value >= kFirstDayNumber && value <= kLastDayNumber;
}

// A year below 100 is read as 20xx when below 84, otherwise as 19xx.
constexpr int ExpandYear(int year) {
  if (year < 0 || year >= 100) return year;
  return year < 84 ? 2000 + year : 1900 + year;
}

constexpr int DaysInMonth(int month, int year) {
  constexpr std::array<int, 12> kLength = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kLength[month - 1] - (month == 2 && !IsLeapYear(year) ? 1 : 0);
}

// Day number of (day, month, year); 0 for day 0, a month outside 1..12 or a year outside
// 1848..4717 (after the two-digit rule). A day past the month's end is cut to its last day.
constexpr uint32_t DayNumber(int day, int month, int year) {
  constexpr std::array<int, 12> kDaysBefore = {0,   31,  59,  90,  120, 151,
                                               181, 212, 243, 273, 304, 334};
  year = ExpandYear(year);
  if (day <= 0 || month <= 0 || month > 12 || year < kFirstYear || year > kLastYear) return 0;
  const int length = DaysInMonth(month, year);
  if (day > length) day = length;
  const int leapShift = IsLeapYear(year) && month <= 2 ? 1 : 0;
  return static_cast<uint32_t>((year - kFirstYear) * 365 + kDaysBefore[month - 1] + day + year / 4 -
                               year / 100 + year / 400 - 446 - leapShift);
}

// Inverse of DayNumber in constant time: the day number is moved to a count from 0000-03-01,
// where 400-year eras, centuries and 4-year cycles fall out of plain divisions.
constexpr CivilDate SplitDayNumber(uint32_t value) {
  if (!IsValidDayNumber(value)) return {};
  constexpr uint32_t kShift = 674906;  // days from 0000-03-01 to 1847-12-30
  const uint32_t z = value + kShift;
  const uint32_t era = z / 146097;
  const uint32_t doe = z - era * 146097;
  const uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const uint32_t mp = (5 * doy + 2) / 153;
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400) + (month <= 2 ? 1 : 0);
  return {static_cast<int>(doy - (153 * mp + 2) / 5 + 1), month, year};
}

static_assert(DayNumber(1, 1, 1848) == 2 && DayNumber(31, 12, 4717) == kLastDayNumber);
static_assert(SplitDayNumber(2) == CivilDate{1, 1, 1848});
static_assert(SplitDayNumber(64285) == CivilDate{1, 1, 2024});

}  // namespace qx
