// Text forms of dumped values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::dump {

// Ten-thousandths as a decimal with four places: -12.3456.
std::string FormatMoney(int64_t value);

// Numbers separated by commas: 1,2,3.
std::string JoinNumbers(const std::vector<int64_t>& numbers);

// A UTF-8 text as a JSON string, quotes included; malformed UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view text);

// A UTF-8 text for a terminal: control characters are written as \r, \n, \t
// or \xNN.
std::string TableText(std::string_view text);

}  // namespace qx::dump
