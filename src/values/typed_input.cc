#include "values/typed_input.h"

#include <charconv>
#include <string>

#include "values/qx_data.h"

namespace qx {
namespace {

// The number in exactly the given digits, or nothing.
std::optional<uint32_t> ReadDigits(std::string_view text, int base) {
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// Splits "a<sep>b<sep>c" into its three parts; false when the text has another shape.
bool SplitThree(std::string_view text, char separator, std::string_view (&parts)[3]) {
  for (int i = 0; i < 2; ++i) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return false;
    parts[i] = text.substr(0, at);
    text.remove_prefix(at + 1);
  }
  parts[2] = text;
  return parts[2].find(separator) == std::string_view::npos;
}

// The '.' of a text without ',' that holds exactly one; nothing otherwise.
std::optional<std::size_t> LoneDot(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (text.find(',') != std::string_view::npos || dot == std::string_view::npos ||
      text.find('.', dot + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  return dot;
}

// The amount of an unsigned text whose decimals follow position `comma`
// (npos: none); a '.' before them must sit between groups of three digits.
std::optional<CURRENCY> ReadDigitsOfAmount(std::string_view text, std::size_t comma,
                                           bool negative) {
  std::string_view whole = text.substr(0, comma);
  std::string_view fraction =
      comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  if (whole.empty() || fraction.size() > 4 || (comma != std::string_view::npos && fraction.empty()))
    return std::nullopt;
  // Thousands separators: groups of exactly three digits after the first group.
  std::string digits;
  std::size_t group = whole.size();
  for (std::size_t i = whole.size(); i-- > 0;) {
    if (whole[i] != '.') continue;
    if (group - i - 1 != 3 || i == 0) return std::nullopt;
    group = i;
  }
  for (char c : whole) {
    if (c != '.') digits += c;
  }
  digits.append(fraction);
  digits.append(4 - fraction.size(), '0');
  if (digits.size() > 19) return std::nullopt;
  uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, 10);
  if (error != std::errc() || stop != end || value > static_cast<uint64_t>(INT64_MAX)) {
    return std::nullopt;
  }
  const int64_t signedValue = static_cast<int64_t>(value);
  return CURRENCY{negative ? -signedValue : signedValue};
}

}  // namespace

std::optional<uint32_t> ReadNumber(std::string_view text, uint32_t limit) {
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  const std::optional<uint32_t> value = hex ? ReadDigits(text.substr(2), 16) : ReadDigits(text, 10);
  if (!value || *value > limit) return std::nullopt;
  return value;
}

std::optional<CivilDate> ReadCalendarDate(std::string_view text) {
  // A field of up to four decimal digits; -1 (never a valid part of a date) otherwise.
  const auto field = [](std::string_view digits) {
    return digits.size() <= 4 ? static_cast<int>(ReadDigits(digits, 10).value_or(-1)) : -1;
  };
  std::string_view parts[3];
  int day = 0, month = 0, year = 0;
  if (SplitThree(text, '-', parts) && parts[0].size() == 4) {
    year = field(parts[0]);
    month = field(parts[1]);
    day = field(parts[2]);
  } else if (SplitThree(text, '/', parts) && (parts[2].size() == 2 || parts[2].size() == 4)) {
    day = field(parts[0]);
    month = field(parts[1]);
    year = field(parts[2]);
    if (parts[2].size() == 2) year = ExpandYear(year);
  } else {
    return std::nullopt;
  }
  // Making a date cuts a day past the month's end; here such a day is a typing error.
  const CivilDate date = CQXData::Make(day, month, year).Split();
  if (date != CivilDate{day, month, year}) return std::nullopt;
  return date;
}

std::optional<CURRENCY> ReadAmount(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  std::size_t comma = text.find(',');
  if (const std::optional<std::size_t> dot = LoneDot(text)) {
    const std::size_t decimals = text.size() - *dot - 1;
    if (decimals == 1 || decimals == 3) return std::nullopt;
    if (decimals == 2 || decimals == 4) comma = *dot;
  }
  return ReadDigitsOfAmount(text, comma, negative);
}

std::optional<AmbiguousAmount> ReadAmbiguousAmount(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  const std::optional<std::size_t> dot = LoneDot(text);
  if (!dot || (text.size() - *dot - 1 != 1 && text.size() - *dot - 1 != 3)) return std::nullopt;
  std::string withoutDot(text);
  withoutDot.erase(*dot, 1);
  const std::optional<CURRENCY> decimal = ReadDigitsOfAmount(text, *dot, negative);
  const std::optional<CURRENCY> thousands =
      ReadDigitsOfAmount(withoutDot, std::string_view::npos, negative);
  if (!decimal || !thousands) return std::nullopt;
  return AmbiguousAmount{*decimal, *thousands};
}

}  // namespace qx
