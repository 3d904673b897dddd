// Text forms of dumped values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::dump {

// Numbers separated by commas: 1,2,3.
std::string JoinNumbers(const std::vector<int64_t>& numbers);

// A UTF-8 text for a terminal: control characters are written as \r, \n, \t
// or \xNN.
std::string TableText(std::string_view text);

}  // namespace qx::dump
