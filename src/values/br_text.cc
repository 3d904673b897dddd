#include "values/br_text.h"

#include <charconv>
#include <cstdio>

namespace qx {
namespace {

// The decimals of an amount: two, or all four when the amount has more. Never
// three: "1.234" would read as a thousand and more where a '.' groups thousands.
std::string Decimals(uint64_t fraction) {
  char text[8];
  std::snprintf(text, sizeof text, "%04u", static_cast<unsigned>(fraction));
  std::string digits(text);
  if (fraction % 100 == 0) digits.resize(2);
  return digits;
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
  const std::string whole = std::to_string(magnitude / 10000);
  std::string text = value.int64 < 0 ? "-" : "";
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) text += '.';
    text += whole[i];
  }
  text += ',';
  text += Decimals(magnitude % 10000);
  return text;
}

std::string AmountPlainText(CURRENCY value) {
  const uint64_t magnitude = Magnitude(value);
  std::string text = value.int64 < 0 ? "-" : "";
  text += std::to_string(magnitude / 10000);
  text += '.';
  text += Decimals(magnitude % 10000);
  return text;
}

std::string DateText(CQXData date) { return date.IsEmpty() ? "" : date.Text(1, '/'); }

std::string MesAnoText(CQXMesAno mesAno) {
  return mesAno.Value() == 0 ? "" : mesAno.Text(8, '/');
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
