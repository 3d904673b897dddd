// The text of a moment as the suite database keeps it: "YYYY-MM-DD HH:MM:SS.mmm".
#pragma once

#include <string>

#include "platform/clock.h"

namespace qx {

std::string TimestampText(const SYSTEMTIME& when);
// The system's current date and time.
std::string TimestampNow();
// The moment as people read it, "15/03/2026 10:00:00"; a text too short to be
// a moment as it is.
std::string TimestampParaPessoas(const std::string& texto);

}  // namespace qx
