#pragma once
// Reading the numbers, dates and amounts that people type.

#include <cstdint>
#include <optional>
#include <string_view>

#include "values/calendar.h"
#include "values/currency.h"

namespace qx {

// A decimal number, or a hexadecimal one after "0x"; nothing for any other text or a number
// above limit.
std::optional<uint32_t> ReadNumber(std::string_view text, uint32_t limit);

// "yyyy-mm-dd", "dd/mm/yyyy" or "dd/mm/yy" (yy below 84 is 20yy, otherwise 19yy) naming a day
// that exists between 1848-01-01 and 4717-12-31; nothing otherwise.
std::optional<CivilDate> ReadCalendarDate(std::string_view text);

// An amount as Brazilian users type it: optional sign, digits with '.' between
// thousands and ',' before at most four decimals ("1.234,56", "-10", "0,5").
// A text without ',' whose only '.' is followed by two or four digits reads
// as a decimal point ("1234.56", "0.3333"), as scripts write amounts. Nothing
// for any other text, for an ambiguous one (below) or for an amount CURRENCY
// cannot hold.
std::optional<CURRENCY> ReadAmount(std::string_view text);

// A text without ',' whose only '.' is followed by one or three digits may
// mean either: "10.555" is 10,555 with a decimal point or 10.555,00 with a
// thousands mark, "1.5" is 1,5 or 15. Such a text is read by no tool; this
// gives its two readings, or nothing for a text that is not ambiguous.
struct AmbiguousAmount {
  CURRENCY decimalPoint;   // the '.' before the decimals
  CURRENCY thousandsMark;  // the '.' between thousands, dropped
};
std::optional<AmbiguousAmount> ReadAmbiguousAmount(std::string_view text);

}  // namespace qx
