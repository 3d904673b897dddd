#include "values/qx_currency.h"

#include <cmath>

namespace {

constexpr double kScale = 10000.0;

double ToDouble(CURRENCY value) { return static_cast<double>(value.int64) / kScale; }

// op applied to two doubles; NaN for an unknown operator.
double Apply(char op, double left, double right) {
  switch (op) {
    case '+':
      return left + right;
    case '-':
      return left - right;
    case '*':
      return left * right;
    case '/':
      return left / right;
    default:
      return std::nan("");
  }
}

}  // namespace

CQXCurrency CQXCurrency::Compute(char op, CURRENCY operand) const {
  return WithResult(Apply(op, ToDouble(value_), ToDouble(operand)));
}

CQXCurrency CQXCurrency::Compute(char op, int32_t operand) const {
  return WithResult(Apply(op, ToDouble(value_), static_cast<double>(operand)));
}

CQXCurrency CQXCurrency::Percentage(CURRENCY operand) const {
  return WithResult(ToDouble(operand) * 100.0 / ToDouble(value_));
}

CQXCurrency CQXCurrency::WithResult(double result) const {
  CQXCurrency out = *this;
  if (rounding_ && decimals_ >= 0 && decimals_ <= 4) {
    const double unit = std::pow(10.0, decimals_);
    result = std::round(result * unit) / unit;
  }
  const double scaled = std::round(result * kScale);
  // Doubles from -2^63 up to (not including) 2^63 convert to int64 without loss of range.
  constexpr double kLimit = 9223372036854775808.0;
  out.valid_ = valid_ && std::isfinite(scaled) && scaled >= -kLimit && scaled < kLimit;
  int64_t value = out.valid_ ? static_cast<int64_t>(scaled) : 0;
  if (decimals_ == 2) value = value / 100 * 100;
  out.value_ = CURRENCY{value};
  return out;
}
