// The text of a moment as the suite database keeps it: "YYYY-MM-DD HH:MM:SS.mmm".
#pragma once

#include <string>

#include "platform/clock.h"

namespace qx {

std::string TimestampText(const SYSTEMTIME& when);
// The system's current date and time.
std::string TimestampNow();

}  // namespace qx
