#include "values/text_format.h"

#include <cstdio>

namespace qx {

std::string FormatTextV(const char* fmt, va_list args) {
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, again);
  va_end(again);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), fmt, args);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::string FormatText(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string text = FormatTextV(fmt, args);
  va_end(args);
  return text;
}

}  // namespace qx
