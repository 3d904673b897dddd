// Writing the registry export format.
#include <cstdio>

#include "platform/registry_format.h"

namespace qx {
namespace {

constexpr std::string_view kNewLine = "\r\n";

void AppendQuoted(std::string_view text, std::string* out) {
  out->push_back('"');
  for (char c : text) {
    if (c == '\\' || c == '"') out->push_back('\\');
    out->push_back(c);
  }
  out->push_back('"');
}

void AppendLines(std::string_view text, std::string* out) {
  for (char c : text) {
    if (c == '\n') {
      out->append(kNewLine);
    } else {
      out->push_back(c);
    }
  }
  out->append(kNewLine);
}

void AppendItem(const RegItem& item, std::string* out) {
  if (item.kind == RegItem::kVerbatim) return AppendLines(item.data, out);
  if (item.name.empty()) {
    out->push_back('@');
  } else {
    AppendQuoted(item.name, out);
  }
  out->push_back('=');
  if (item.kind == RegItem::kString) {
    AppendQuoted(item.data, out);
    out->append(kNewLine);
  } else if (item.kind == RegItem::kDword) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", item.dword);
    out->append(digits);
    out->append(kNewLine);
  } else {
    AppendLines(item.data, out);
  }
}

void AppendKey(const RegNode& node, const std::string& path, std::string* out) {
  if (node.has_section || !node.items.empty()) {
    out->append("[").append(path).append("]").append(kNewLine);
    for (const RegItem& item : node.items) AppendItem(item, out);
    out->append(kNewLine);
  }
  for (const auto& child : node.children) AppendKey(*child, path + "\\" + child->name, out);
}

}  // namespace

std::string FormatRegistry(const RegNode& root) {
  std::string out = "Windows Registry Editor Version 5.00";
  out.append(kNewLine).append(kNewLine);
  if (!root.items.empty()) {
    for (const RegItem& item : root.items) AppendItem(item, &out);
    out.append(kNewLine);
  }
  for (const auto& child : root.children) AppendKey(*child, child->name, &out);
  return out;
}

}  // namespace qx
