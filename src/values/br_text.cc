#include "values/br_text.h"

#include <charconv>

namespace qx {
namespace {

// Reports print these by the hundred thousand: digits are written by hand,
// not through printf.

// The decimals of an amount: two, or all four when the amount has more. Never
// three: "1.234" would read as a thousand and more where a '.' groups thousands.
char* WriteDecimals(uint64_t fraction, char* out) {
  out[0] = static_cast<char>('0' + fraction / 1000);
  out[1] = static_cast<char>('0' + fraction / 100 % 10);
  if (fraction % 100 == 0) return out + 2;
  out[2] = static_cast<char>('0' + fraction / 10 % 10);
  out[3] = static_cast<char>('0' + fraction % 10);
  return out + 4;
}

// n (0..99) as two digits.
char* WriteTwoDigits(int n, char* out) {
  out[0] = static_cast<char>('0' + n / 10);
  out[1] = static_cast<char>('0' + n % 10);
  return out + 2;
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

void AppendAmountText(CURRENCY value, std::string* text) {
  const uint64_t magnitude = Magnitude(value);
  // The whole part written backwards from the comma, a '.' before every
  // third digit; the decimals forwards after it.
  char written[48];
  char* const comma = written + 32;
  char* first = comma;
  uint64_t whole = magnitude / 10000;
  for (int digits = 0; digits == 0 || whole != 0; ++digits, whole /= 10) {
    if (digits > 0 && digits % 3 == 0) *--first = '.';
    *--first = static_cast<char>('0' + whole % 10);
  }
  if (value.int64 < 0) *--first = '-';
  *comma = ',';
  text->append(first, WriteDecimals(magnitude % 10000, comma + 1));
}

std::string AmountText(CURRENCY value) {
  std::string text;
  AppendAmountText(value, &text);
  return text;
}

std::string AmountPlainText(CURRENCY value) {
  const uint64_t magnitude = Magnitude(value);
  std::string text = value.int64 < 0 ? "-" : "";
  text += std::to_string(magnitude / 10000);
  text += '.';
  char decimals[4];
  text.append(decimals, WriteDecimals(magnitude % 10000, decimals));
  return text;
}

void AppendDateText(CQXData date, std::string* text) {
  if (date.IsEmpty()) return;
  const CivilDate d = date.Split();
  if (d.year < 1000 || d.year > 9999) {
    *text += date.Text(1, '/');
    return;
  }
  char written[10];
  char* out = WriteTwoDigits(d.day, written);
  *out++ = '/';
  out = WriteTwoDigits(d.month, out);
  *out++ = '/';
  out = WriteTwoDigits(d.year / 100, out);
  text->append(written, WriteTwoDigits(d.year % 100, out));
}

std::string DateText(CQXData date) {
  std::string text;
  AppendDateText(date, &text);
  return text;
}

void AppendMesAnoText(CQXMesAno mesAno, std::string* text) {
  if (mesAno.Value() == 0) return;
  const int year = mesAno.Year();
  if (year < 1000 || year > 9999) {
    *text += mesAno.Text(8, '/');
    return;
  }
  char written[7];
  char* out = WriteTwoDigits(mesAno.Month(), written);
  *out++ = '/';
  out = WriteTwoDigits(year / 100, out);
  text->append(written, WriteTwoDigits(year % 100, out));
}

std::string MesAnoText(CQXMesAno mesAno) {
  std::string text;
  AppendMesAnoText(mesAno, &text);
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
