#include "values/period_text.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "values/calendar_names.h"

namespace qx {
namespace {

enum class Field { none, day, month, shortYear, longYear };

struct Layout {
  std::array<Field, 3> fields;
  std::size_t minimumSize;  // callers' buffers must hold at least this many bytes
};

constexpr std::array<Layout, 12> kLayouts = {{
    {{Field::day, Field::month, Field::shortYear}, 0},   // 0
    {{Field::day, Field::month, Field::longYear}, 0},    // 1
    {{Field::month, Field::day, Field::shortYear}, 0},   // 2
    {{Field::month, Field::day, Field::longYear}, 0},    // 3
    {{Field::shortYear, Field::month, Field::day}, 0},   // 4
    {{Field::longYear, Field::month, Field::day}, 0},    // 5
    {{Field::none, Field::none, Field::none}, 0},        // 6: written with month names
    {{Field::month, Field::shortYear, Field::none}, 6},  // 7
    {{Field::month, Field::longYear, Field::none}, 8},   // 8
    {{Field::shortYear, Field::month, Field::none}, 6},  // 9
    {{Field::longYear, Field::month, Field::none}, 8},   // 10
    {{Field::longYear, Field::none, Field::none}, 6},    // 11
}};

using TextBuffer = char[40];

// Appends one numeric field; returns the new length.
int AppendField(TextBuffer& text, int length, Field field, bool wideYear, const CivilDate& date) {
  const bool outsideWindow = date.year < 1984 || date.year > 2083;
  if (field == Field::shortYear && wideYear && outsideWindow) field = Field::longYear;
  const char* format = field == Field::longYear ? "%04d" : "%02d";
  int number = date.year;
  if (field == Field::day) number = date.day;
  if (field == Field::month) number = date.month;
  if (field == Field::shortYear) number = date.year % 100;
  return length + std::snprintf(text + length, sizeof text - length, format, number);
}

// Builds the text in a buffer large enough for every layout of any valid date; returns its
// length, or -1 when there is no text.
int Build(TextBuffer& text, int layout, char separator, bool wideYear, const CivilDate& date) {
  if (layout == 6) {
    if (date.month < 1 || date.month > 12) return -1;
    const int length = std::snprintf(text, sizeof text, "%02d de %s de %04d", date.day,
                                     MonthName(date.month), date.year);
    return length < static_cast<int>(sizeof text) ? length : -1;
  }
  int length = 0;
  for (const Field field : kLayouts[layout].fields) {
    if (field == Field::none) break;
    if (length > 0 && separator != 0) text[length++] = separator;
    length = AppendField(text, length, field, wideYear, date);
  }
  text[length] = 0;
  return length;
}

bool IsLayoutOf(PeriodKind kind, int layout) {
  constexpr int kLastDateLayout = 6;
  if (kind == PeriodKind::date) return layout >= 0 && layout <= kLastDateLayout;
  return layout > kLastDateLayout && layout < static_cast<int>(kLayouts.size());
}

}  // namespace

std::size_t FormatPeriod(std::span<char> out, PeriodKind kind, int layout, char separator,
                         bool wideYear, const CivilDate& date) {
  if (out.empty()) return 0;
  out[0] = 0;
  if (!IsLayoutOf(kind, layout)) return 0;
  TextBuffer text;
  const int length = Build(text, layout, separator, wideYear, date);
  if (length < 0) return 0;
  const std::size_t size = static_cast<std::size_t>(length);
  if (out.size() < kLayouts[layout].minimumSize || out.size() <= size) return 0;
  std::memcpy(out.data(), text, size + 1);
  return size;
}

std::string PeriodText(PeriodKind kind, int layout, char separator, bool wideYear,
                       const CivilDate& date) {
  TextBuffer text;
  return std::string(text, FormatPeriod(text, kind, layout, separator, wideYear, date));
}

}  // namespace qx
