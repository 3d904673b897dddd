#pragma once
// Short date: a 16-bit day count whose calendar keeps a day 1900-02-29 that never existed.
// 1 is 1850-01-01, 18321 is 1900-02-28, 18322 the missing 1900-02-29, 18323 is 1900-03-01 and
// 65535 is 2029-06-04; 0 is no date.

#include <compare>
#include <cstdint>

#include "values/qx_data.h"

class CQXDataCurta {
 public:
  constexpr CQXDataCurta() = default;
  constexpr explicit CQXDataCurta(uint16_t value) : value_(value) {}
  // A date before 1850-01-01 or after 2029-06-04 becomes the empty short date. 18322 is never
  // produced.
  constexpr explicit CQXDataCurta(CQXData date) : value_(FromDayNumber(date.Value())) {}

  constexpr uint16_t Value() const { return value_; }
  constexpr bool IsEmpty() const { return value_ == 0; }

  // 18322 reads as 1900-02-28, like 18321.
  constexpr CQXData Data() const {
    if (value_ == 0) return {};
    return CQXData(uint32_t{value_} + (value_ < kMissingDay ? kEarlyShift : kLateShift));
  }

  constexpr auto operator<=>(const CQXDataCurta&) const = default;

 private:
  static constexpr uint16_t kMissingDay = 18322;
  static constexpr uint32_t kFirstMarch1900 = 19054;  // as a day number
  static constexpr uint32_t kEarlyShift = 732;
  static constexpr uint32_t kLateShift = 731;

  static constexpr uint16_t FromDayNumber(uint32_t day) {
    if (day <= kEarlyShift) return 0;  // also the empty date
    const uint32_t shift = day < kFirstMarch1900 ? kEarlyShift : kLateShift;
    return day - shift <= UINT16_MAX ? static_cast<uint16_t>(day - shift) : 0;
  }

  uint16_t value_ = 0;
};
