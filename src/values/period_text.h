#pragma once
// Text layouts shared by dates (0..6) and month-years (7..11).

#include <cstddef>
#include <span>
#include <string>

#include "values/calendar.h"

namespace qx {

// Dates use layouts 0..6, month-years 7..11; a layout of the other kind counts as unknown.
enum class PeriodKind { date, monthYear };

// Writes the layout's text for the given day, month and year as a NUL-terminated text and
// returns its length. separator 0 means none. wideYear writes a two-digit year with four
// digits when it lies outside 1984..2083. An unknown layout, or a buffer shorter than the
// text or than the layout's minimum size, gives "" (when there is room for the NUL) and 0.
std::size_t FormatPeriod(std::span<char> out, PeriodKind kind, int layout, char separator,
                         bool wideYear, const CivilDate& date);

// The same text as a string.
std::string PeriodText(PeriodKind kind, int layout, char separator, bool wideYear,
                       const CivilDate& date);

}  // namespace qx
