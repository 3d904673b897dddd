// A strict JSON reader for checking qxdump's output: anything that is not
// valid JSON (RFC 8259) is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx::test {

struct Json {
  enum Type { kNull, kBool, kNumber, kString, kArray, kObject };

  Type type = kNull;
  bool boolean = false;
  double number = 0;
  std::string text;  // a string's UTF-8 text, or a number as written
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  // The member of that name, or null when there is none.
  const Json& operator[](std::string_view name) const;
  // The item at that index, or null when there is none.
  const Json& operator[](size_t index) const;
  bool IsNull() const { return type == kNull; }
};

std::optional<Json> ParseJson(std::string_view text);

}  // namespace qx::test
