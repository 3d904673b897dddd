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
// A text without ',' whose only '.' is followed by one, two or four digits
// reads as a decimal point ("1234.56"), as scripts write amounts. Nothing for
// any other text or an amount CURRENCY cannot hold.
std::optional<CURRENCY> ReadAmount(std::string_view text);

}  // namespace qx
