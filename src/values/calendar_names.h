#pragma once
// Portuguese month and weekday names, in code page 1252.

namespace qx {

// "janeiro" .. "dezembro" for 1..12; "" otherwise.
const char* MonthName(int month);
// "Domingo" .. "Sábado" for 1 (Sunday) .. 7; "" otherwise.
const char* WeekdayName(int dayOfWeek);

}  // namespace qx
