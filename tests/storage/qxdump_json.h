// A strict JSON reader for checking qxdump's output: anything that is not
// valid JSON (RFC 8259) is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::test {

struct JsonMember;

struct Json {
  enum Type { kNull, kBool, kNumber, kString, kArray, kObject };

  Type type = kNull;
  bool boolean = false;
  double number = 0;
  std::string text;  // a string's UTF-8 text, or a number as written
  std::vector<Json> items;
  std::vector<JsonMember> members;

  // The member of that name, or null when there is none.
  const Json& operator[](std::string_view name) const;
  // The item at that index, or null when there is none.
  const Json& operator[](size_t index) const;
  bool IsNull() const { return type == kNull; }
};

// An object's member. A struct, not std::pair: a pair holding Json inside Json's
// own definition needs Json complete before it is, which clang refuses.
struct JsonMember {
  std::string name;
  Json value;
};

std::optional<Json> ParseJson(std::string_view text);

}  // namespace qx::test
