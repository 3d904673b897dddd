#include "storage/check/text_forms.h"

#include <cstdio>

#include "platform/codepage.h"

namespace qx::check {

std::string FormatMoney(int64_t value) {
  const uint64_t magnitude =
      value < 0 ? ~static_cast<uint64_t>(value) + 1 : static_cast<uint64_t>(value);
  char text[32];
  std::snprintf(text, sizeof text, "%s%llu.%04llu", value < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000),
                static_cast<unsigned long long>(magnitude % 10000));
  return text;
}

std::string JsonString(std::string_view text) {
  const std::string valid = Utf16ToUtf8(Utf8ToUtf16(text));
  std::string out = "\"";
  for (char c : valid) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace qx::check

namespace qx::check {

std::string Counted(uint64_t count, std::string_view noun) {
  std::string text = std::to_string(count);
  text += ' ';
  text += noun;
  if (count != 1) text += 's';
  return text;
}

}  // namespace qx::check
