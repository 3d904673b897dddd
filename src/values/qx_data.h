#pragma once
// Day-number date: 2 is 1848-01-01, 1048247 is 4717-12-31, 0 is no date.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "values/calendar.h"

class CQXMesAno;

class CQXData {
 public:
  constexpr CQXData() = default;
  // Any value outside 2..1048247 becomes the empty date.
  constexpr explicit CQXData(uint32_t value) : value_(qx::IsValidDayNumber(value) ? value : 0) {}

  // (day, month, year) with the two-digit-year rule; see qx::DayNumber for the limits.
  static constexpr CQXData Make(int day, int month, int year) {
    return CQXData(qx::DayNumber(day, month, year));
  }
  // The given day of a month-year, cut to the month's length.
  static CQXData FromMesAno(CQXMesAno mesAno, int day);
  // The current local day of the machine.
  static CQXData Today();

  constexpr uint32_t Value() const { return value_; }
  constexpr bool IsEmpty() const { return value_ == 0; }

  // (day, month, year); (0, 0, 0) for the empty date.
  constexpr qx::CivilDate Split() const { return qx::SplitDayNumber(value_); }
  constexpr int Day() const { return Split().day; }
  constexpr int Month() const { return Split().month; }
  constexpr int Year() const { return Split().year; }
  // 1 = Sunday ... 7 = Saturday; 0 for the empty date.
  constexpr int DayOfWeek() const {
    return value_ == 0 ? 0 : static_cast<int>((value_ + 4) % 7 + 1);
  }

  CQXData FirstDayOfMonth() const;
  CQXData LastDayOfMonth() const;
  CQXMesAno MesAno() const;

  // Text layouts 0..6: 0 dd?mm?yy, 1 dd?mm?yyyy, 2 mm?dd?yy, 3 mm?dd?yyyy, 4 yy?mm?dd,
  // 5 yyyy?mm?dd (? the separator, 0 for none), 6 "dd de <month> de yyyy". With wideYear a
  // two-digit year outside 1984..2083 is written with four digits. Writes a NUL-terminated
  // text and returns its length; an unknown layout or a buffer too small gives "".
  std::size_t Format(std::span<char> out, int layout, char separator = 0,
                     bool wideYear = false) const;
  std::string Text(int layout, char separator = 0, bool wideYear = false) const;

  constexpr auto operator<=>(const CQXData&) const = default;

 private:
  uint32_t value_ = 0;
};
