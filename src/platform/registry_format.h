// The registry export format ("Windows Registry Editor Version 5.00"):
// reading a file's bytes into a tree and writing a tree back.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_tree.h"

namespace qx {

// The file's bytes as UTF-8: UTF-16 with a byte-order mark (as Windows
// exports them), UTF-8 with or without one, and old "REGEDIT4" or other
// non-UTF-8 files in Windows-1252.
std::string DecodeRegistryBytes(std::string_view bytes);

struct ParsedRegistry {
  std::unique_ptr<RegNode> root = std::make_unique<RegNode>();
  std::vector<size_t> malformed_lines;       // 1-based numbers of the skipped lines
  std::vector<std::string> malformed_texts;  // and their texts
};
// Sections of HKEY_CLASSES_ROOT are read into HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
// Unreadable lines are kept as verbatim items (of their section, or of the
// root before any valid section) and listed in malformed_lines.
ParsedRegistry ParseRegistryText(std::string_view text);

// UTF-8, no byte-order mark, CRLF line ends (as Windows exports them).
std::string FormatRegistry(const RegNode& root);

}  // namespace qx
