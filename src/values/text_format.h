// printf-style formatting into a std::string.
#pragma once

#include <cstdarg>
#include <string>

namespace qx {

std::string FormatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* fmt, va_list args);

}  // namespace qx
