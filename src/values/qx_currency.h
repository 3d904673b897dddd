#pragma once
// Money with a decimal count: arithmetic runs in doubles and comes back to CURRENCY at the
// nearest ten-thousandth; with 2 decimals every result is then cut toward zero to whole
// cents. A result that CURRENCY cannot hold (overflow, division by zero) is invalid and 0.

#include <cstdint>

#include "values/currency.h"

class CQXCurrency {
 public:
  constexpr CQXCurrency() = default;
  constexpr explicit CQXCurrency(CURRENCY value, int decimals = 4)
      : value_(value), decimals_(decimals) {}

  constexpr CURRENCY Value() const { return value_; }
  constexpr bool IsValid() const { return valid_; }
  constexpr int Decimals() const { return decimals_; }
  // Only 2 changes how results are cut; rounding uses any count from 0 to 4.
  constexpr void SetDecimals(int decimals) { decimals_ = decimals; }
  constexpr bool Rounding() const { return rounding_; }
  // When on, each double result is first rounded (half away from zero) to the decimal count.
  constexpr void SetRounding(bool rounding) { rounding_ = rounding; }

  // Applies the operator named by op ('+', '-', '*', '/') with the operand; any other op,
  // or an invalid value, gives an invalid result. The result keeps this object's settings.
  CQXCurrency Compute(char op, CURRENCY operand) const;
  CQXCurrency Compute(char op, int32_t operand) const;
  // operand * 100 / value: how many percent of this value the operand is.
  CQXCurrency Percentage(CURRENCY operand) const;

  CQXCurrency operator+(CURRENCY operand) const { return Compute('+', operand); }
  CQXCurrency operator-(CURRENCY operand) const { return Compute('-', operand); }
  CQXCurrency operator*(CURRENCY operand) const { return Compute('*', operand); }
  CQXCurrency operator/(CURRENCY operand) const { return Compute('/', operand); }
  CQXCurrency operator+(int32_t operand) const { return Compute('+', operand); }
  CQXCurrency operator-(int32_t operand) const { return Compute('-', operand); }
  CQXCurrency operator*(int32_t operand) const { return Compute('*', operand); }
  CQXCurrency operator/(int32_t operand) const { return Compute('/', operand); }

 private:
  CQXCurrency WithResult(double result) const;

  CURRENCY value_{0};
  int decimals_ = 4;
  bool rounding_ = false;
  bool valid_ = true;
};
