#include "text_format.h"

#include <cstdio>

namespace qx::dump {
namespace {

// The escape of a control character, or "" for any other.
std::string ControlEscape(unsigned char c) {
  switch (c) {
    case '\r':
      return "\\r";
    case '\n':
      return "\\n";
    case '\t':
      return "\\t";
    default:
      break;
  }
  if (c >= 0x20 && c != 0x7F) return "";
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", c);
  return text;
}

}  // namespace

std::string JoinNumbers(const std::vector<int64_t>& numbers) {
  std::string text;
  for (int64_t number : numbers) {
    if (!text.empty()) text += ',';
    text += std::to_string(number);
  }
  return text;
}

std::string TableText(std::string_view text) {
  std::string out;
  for (char c : text) {
    const std::string escape = ControlEscape(static_cast<unsigned char>(c));
    out += escape.empty() ? std::string(1, c) : escape;
  }
  return out;
}

}  // namespace qx::dump
