#pragma once
// Month-year: month + (year - 1848) * 12, so January 1848 is 1 and December 4717 is 34440;
// 0 is no period.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "values/calendar.h"

class CQXMesAno {
 public:
  static constexpr uint16_t kLast = 34440;

  constexpr CQXMesAno() = default;
  // Any value above 34440 becomes the empty month-year.
  constexpr explicit CQXMesAno(uint32_t value)
      : value_(value <= kLast ? static_cast<uint16_t>(value) : 0) {}

  // (month, year) with the two-digit-year rule; month outside 1..12 or year outside
  // 1848..4717 gives the empty value.
  static constexpr CQXMesAno Make(int month, int year) {
    year = qx::ExpandYear(year);
    if (month <= 0 || month > 12 || year < qx::kFirstYear || year > qx::kLastYear) return {};
    return CQXMesAno(static_cast<uint32_t>(month + (year - qx::kFirstYear) * 12));
  }
  // From the number yyyymm; an impossible month or year gives the empty value.
  static constexpr CQXMesAno FromYyyymm(int yyyymm) { return Make(yyyymm % 100, yyyymm / 100); }
  // The month of the current local day of the machine.
  static CQXMesAno Current();

  constexpr uint16_t Value() const { return value_; }
  constexpr bool IsEmpty() const { return value_ == 0; }

  // (month, year); (0, 0) for the empty value. The day field of the result is 0.
  constexpr qx::CivilDate Split() const {
    if (value_ == 0) return {};
    return {0, (value_ - 1) % 12 + 1, (value_ - 1) / 12 + qx::kFirstYear};
  }
  constexpr int Month() const { return Split().month; }
  constexpr int Year() const { return Split().year; }
  // year * 100 + month; 0 for the empty value.
  constexpr int Yyyymm() const { return Year() * 100 + Month(); }

  // The month-year so many months later (earlier when negative); a result outside 1..34440
  // is the empty value.
  constexpr CQXMesAno Add(int months) const {
    const int64_t result = int64_t{value_} + months;
    return result > 0 && result <= kLast ? CQXMesAno(static_cast<uint32_t>(result)) : CQXMesAno();
  }

  // Text layouts 7..11: 7 mm?yy, 8 mm?yyyy, 9 yy?mm, 10 yyyy?mm, 11 yyyy (? the separator, 0
  // for none); the empty value prints with zeros ("00/00"). With wideYear a two-digit year
  // outside 1984..2083 is written with four digits. Writes a NUL-terminated text and returns
  // its length; an unknown layout or a buffer shorter than 6 bytes (8 for layouts 8 and 10),
  // or than the text, gives "".
  std::size_t Format(std::span<char> out, int layout, char separator = 0,
                     bool wideYear = false) const;
  std::string Text(int layout, char separator = 0, bool wideYear = false) const;

  constexpr auto operator<=>(const CQXMesAno&) const = default;

 private:
  uint16_t value_ = 0;
};
