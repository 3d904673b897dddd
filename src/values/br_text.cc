#include "values/br_text.h"

#include <charconv>

namespace qx {
namespace {

// Reports print these by the hundred thousand: digits are written by hand,
// not through printf.

// The decimals of an amount: two, or all four when the amount has more. Never
// three: "1.234" would read as a thousand and more where a '.' groups thousands.
void AppendDecimals(uint64_t fraction, std::string* text) {
  const char digits[4] = {static_cast<char>('0' + fraction / 1000),
                          static_cast<char>('0' + fraction / 100 % 10),
                          static_cast<char>('0' + fraction / 10 % 10),
                          static_cast<char>('0' + fraction % 10)};
  text->append(digits, fraction % 100 == 0 ? 2 : 4);
}

// n (0..99) as two digits.
void AppendTwoDigits(int n, std::string* text) {
  text->push_back(static_cast<char>('0' + n / 10));
  text->push_back(static_cast<char>('0' + n % 10));
}

uint64_t Magnitude(CURRENCY value) {
  return value.int64 < 0 ? 0 - static_cast<uint64_t>(value.int64)
                         : static_cast<uint64_t>(value.int64);
}

std::optional<int> Field(std::string_view digits) {
  int value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::string AmountText(CURRENCY value) {
  const uint64_t magnitude = Magnitude(value);
  char whole[24];
  const std::size_t size =
      static_cast<std::size_t>(std::to_chars(whole, whole + sizeof whole, magnitude / 10000).ptr -
                               whole);
  std::string text;
  text.reserve(32);
  if (value.int64 < 0) text += '-';
  for (std::size_t i = 0; i < size; ++i) {
    if (i > 0 && (size - i) % 3 == 0) text += '.';
    text += whole[i];
  }
  text += ',';
  AppendDecimals(magnitude % 10000, &text);
  return text;
}

std::string AmountPlainText(CURRENCY value) {
  const uint64_t magnitude = Magnitude(value);
  std::string text = value.int64 < 0 ? "-" : "";
  text += std::to_string(magnitude / 10000);
  text += '.';
  AppendDecimals(magnitude % 10000, &text);
  return text;
}

std::string DateText(CQXData date) {
  if (date.IsEmpty()) return "";
  const CivilDate d = date.Split();
  if (d.year < 1000 || d.year > 9999) return date.Text(1, '/');
  std::string text;
  AppendTwoDigits(d.day, &text);
  text += '/';
  AppendTwoDigits(d.month, &text);
  text += '/';
  AppendTwoDigits(d.year / 100, &text);
  AppendTwoDigits(d.year % 100, &text);
  return text;
}

std::string MesAnoText(CQXMesAno mesAno) {
  if (mesAno.Value() == 0) return "";
  const int year = mesAno.Year();
  if (year < 1000 || year > 9999) return mesAno.Text(8, '/');
  std::string text;
  AppendTwoDigits(mesAno.Month(), &text);
  text += '/';
  AppendTwoDigits(year / 100, &text);
  AppendTwoDigits(year % 100, &text);
  return text;
}

std::optional<CQXMesAno> ReadMesAno(std::string_view text) {
  std::optional<int> month, year;
  if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
    const std::string_view yearText = text.substr(slash + 1);
    if (yearText.size() != 2 && yearText.size() != 4) return std::nullopt;
    month = Field(text.substr(0, slash));
    year = Field(yearText);
  } else if (const std::size_t dash = text.find('-'); dash == 4) {
    year = Field(text.substr(0, dash));
    month = Field(text.substr(dash + 1));
  }
  if (!month || !year) return std::nullopt;
  const CQXMesAno mesAno = CQXMesAno::Make(*month, *year);
  if (mesAno.Value() == 0) return std::nullopt;
  return mesAno;
}

}  // namespace qx
