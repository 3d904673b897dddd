// Reading the tools' output in tests: JSON strictly (anything that is not
// valid JSON, RFC 8259 and UTF-8, is refused), texts by the parts they hold.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace qx::test {

using Json = nlohmann::json;

inline std::optional<Json> ParseJson(std::string_view text) {
  Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) return std::nullopt;
  return json;
}

// Each JSON pointer of the object `expected` ({"/records/0/date": "2024-03-01"})
// holds its value in json (null when absent).
inline void ExpectAt(const Json& json, std::string_view expected) {
  const Json pointers = Json::parse(expected);
  for (const auto& item : pointers.items()) {
    const Json::json_pointer at(item.key());
    EXPECT_EQ(json.contains(at) ? json.at(at) : Json(), item.value()) << item.key();
  }
}

// Each of the texts is part of text.
inline void ExpectContains(const std::string& text, std::initializer_list<std::string> parts) {
  for (const std::string& part : parts) {
    EXPECT_NE(text.find(part), std::string::npos) << part << " in:\n" << text;
  }
}

}  // namespace qx::test
