#include "text_format.h"

#include <cstdio>

#include "platform/codepage.h"

namespace qx::dump {
namespace {

// The escape of a control character, or "" for any other.
std::string ControlEscape(unsigned char c, bool json) {
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
  std::snprintf(text, sizeof text, json ? "\\u%04x" : "\\x%02x", c);
  return text;
}

}  // namespace

std::string FormatMoney(int64_t value) {
  const uint64_t magnitude =
      value < 0 ? ~static_cast<uint64_t>(value) + 1 : static_cast<uint64_t>(value);
  char text[32];
  std::snprintf(text, sizeof text, "%s%llu.%04llu", value < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000),
                static_cast<unsigned long long>(magnitude % 10000));
  return text;
}

std::string JoinNumbers(const std::vector<int64_t>& numbers) {
  std::string text;
  for (int64_t number : numbers) {
    if (!text.empty()) text += ',';
    text += std::to_string(number);
  }
  return text;
}

std::string JsonString(std::string_view text) {
  const std::string valid = Utf16ToUtf8(Utf8ToUtf16(text));
  std::string out = "\"";
  for (char c : valid) {
    const std::string escape = ControlEscape(static_cast<unsigned char>(c), true);
    if (!escape.empty()) {
      out += escape;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string TableText(std::string_view text) {
  std::string out;
  for (char c : text) {
    const std::string escape = ControlEscape(static_cast<unsigned char>(c), false);
    out += escape.empty() ? std::string(1, c) : escape;
  }
  return out;
}

}  // namespace qx::dump
