// Reading the tools' JSON output in tests, strictly: anything that is not
// valid JSON (RFC 8259, UTF-8) is refused.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace qx::test {

using Json = nlohmann::json;

inline std::optional<Json> ParseJson(std::string_view text) {
  Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) return std::nullopt;
  return json;
}

}  // namespace qx::test
