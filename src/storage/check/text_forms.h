// Text forms of values in reports for people and for scripts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::check {

// Ten-thousandths as a decimal with four places: -12.3456.
std::string FormatMoney(int64_t value);

// A UTF-8 text as a JSON string, quotes included; malformed UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view text);

}  // namespace qx::check

namespace qx::check {

// "1 byte", "5 bytes": the number and the noun, with an "s" unless it is 1.
std::string Counted(uint64_t count, std::string_view noun);

}  // namespace qx::check
