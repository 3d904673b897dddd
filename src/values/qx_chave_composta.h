#pragma once
// Composite origin key in memory, one 64-bit value: bits 0..1 the kind of period (0 none,
// 1 year, 2 month-year, 3 date), bits 2..13 the module code, bits 14..45 the key and bits
// 46..63 the period (year, month-year value or day-number value, as the kind says).

#include <compare>
#include <cstdint>
#include <string>

#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

class CQXChaveComposta {
 public:
  enum Kind : uint32_t { kindNone = 0, kindYear = 1, kindMesAno = 2, kindData = 3 };

  constexpr CQXChaveComposta() = default;
  // An invalid raw value (see IsValid) stores the empty key.
  constexpr explicit CQXChaveComposta(uint64_t raw) : raw_(IsValidRaw(raw) ? raw : 0) {}
  // Module and key from lChaveModulo, the month-year period from iData.
  constexpr explicit CQXChaveComposta(const _QX_DMCPS& dmcps) {
    SetModule(qx::OriginModule(dmcps.lChaveModulo));
    SetKey(qx::OriginKey(dmcps.lChaveModulo));
    SetMesAno(CQXMesAno(dmcps.iData));
  }

  constexpr uint64_t Raw() const { return raw_; }
  constexpr Kind PeriodKind() const { return static_cast<Kind>(raw_ & 3u); }
  constexpr uint32_t Module() const { return static_cast<uint32_t>(raw_ >> 2) & 0xFFFu; }
  constexpr uint32_t Key() const { return static_cast<uint32_t>(raw_ >> 14); }
  constexpr uint32_t Period() const { return static_cast<uint32_t>(raw_ >> 46); }

  // Setters store what they are given (module cut to 12 bits); IsValid judges the whole.
  constexpr void SetModule(uint32_t module) { Put(2, 0xFFF, module); }
  constexpr void SetKey(uint32_t key) { Put(14, 0xFFFFFFFF, key); }
  // Each sets its kind when the period is not 0, and kind none otherwise. A period that does
  // not fit the 18 bits (a date after 2565-09-19) is stored as no period.
  constexpr void SetYear(uint32_t year) { SetPeriod(kindYear, year); }
  constexpr void SetMesAno(CQXMesAno mesAno) { SetPeriod(kindMesAno, mesAno.Value()); }
  constexpr void SetData(CQXData data) { SetPeriod(kindData, data.Value()); }

  // Module, key and period all 0.
  constexpr bool IsEmpty() const { return (raw_ >> 2) == 0; }
  // Not empty, module code below 134, key not 0, and a period that fits its kind.
  constexpr bool IsValid() const { return IsValidRaw(raw_); }

  // lChaveModulo = key << 8 | module; iData carries a month-year: the period of a month-year
  // key, the month of a date key, 0 otherwise.
  _QX_DMCPS ToDmcps() const;

  // Text forms: 0 "mmyy-kkkkkk", 1 "ddmmyy-kkkkkk", 3 "period-key", 4 "key", 5 a description
  // with the module's name (code page 1252). Other forms give "".
  std::string Text(int form) const;
  // Reads a text of form 0 ("mmyy-kkkkkk", kind month-year), 1 ("ddmmyy-kkkkkk", kind date)
  // or 2 (form 0 with at least 6 characters); the module is 0. The all-zero texts and ""
  // give the empty key; other forms accept anything as the empty key. Returns false, leaving
  // the empty key, for a null or malformed text.
  bool Parse(const char* text, int form);

  constexpr auto operator<=>(const CQXChaveComposta&) const = default;

 private:
  static constexpr uint32_t kPeriodMask = 0x3FFFF;

  static constexpr bool IsValidRaw(uint64_t raw) {
    const CQXChaveComposta key = FromBits(raw);
    if (key.IsEmpty() || key.Module() >= 134 || key.Key() == 0) return false;
    const uint32_t period = key.Period();
    switch (key.PeriodKind()) {
      case kindNone:
        return period == 0;
      case kindYear:
        return period >= qx::kFirstYear && period <= qx::kLastYear;
      case kindMesAno:
        return period >= 1 && period <= CQXMesAno::kLast;
      case kindData:
        return qx::IsValidDayNumber(period);
    }
    return false;
  }
  static constexpr CQXChaveComposta FromBits(uint64_t raw) {
    CQXChaveComposta key;
    key.raw_ = raw;
    return key;
  }
  constexpr void Put(int shift, uint64_t mask, uint64_t value) {
    raw_ = (raw_ & ~(mask << shift)) | ((value & mask) << shift);
  }
  constexpr void SetPeriod(Kind kind, uint32_t period) {
    if (period > kPeriodMask) period = 0;
    Put(0, 3, period != 0 ? kind : kindNone);
    Put(46, kPeriodMask, period);
  }

  uint64_t raw_ = 0;
};
