#pragma once
// Reading the numbers and calendar dates that support staff type.

#include <cstdint>
#include <optional>
#include <string_view>

#include "values/calendar.h"

namespace qxdate {

// A decimal number, or a hexadecimal one after "0x"; nothing for any other text or a number
// above limit.
std::optional<uint32_t> ReadNumber(std::string_view text, uint32_t limit);

// "yyyy-mm-dd", "dd/mm/yyyy" or "dd/mm/yy" (yy below 84 is 20yy, otherwise 19yy) naming a day
// that exists between 1848-01-01 and 4717-12-31; nothing otherwise.
std::optional<qx::CivilDate> ReadCalendarDate(std::string_view text);

}  // namespace qxdate
