// Text forms of values in the reasons of findings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::check {

// "1 byte", "5 bytes": the number and the noun, with an "s" unless it is 1.
std::string Counted(uint64_t count, std::string_view noun);

// Ten-thousandths as people read an amount: 1.234,56.
std::string MoneyText(int64_t value);

}  // namespace qx::check
