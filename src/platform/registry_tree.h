// The in-memory tree of one registry store file. Names and texts are kept as
// UTF-8 in their stored spelling, so a rewrite gives back what was read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Compares two UTF-8 names without regard to the case of the letters of
// the Windows-1252 repertoire.
bool RegNamesEqual(std::string_view a, std::string_view b);

// One line (or continued lines) of a key's section.
struct RegItem {
  enum Kind {
    kString,    // "name"="text": data is the unescaped text
    kDword,     // "name"=dword:...: dword holds the number
    kOther,     // any other type: data is everything after '=', lines joined by '\n'
    kVerbatim,  // a comment or an unreadable line, kept as it was: data is the line
  };
  Kind kind = kVerbatim;
  std::string name;  // "" is the default value ("@")
  std::string data;
  uint32_t dword = 0;
};

struct RegNode {
  std::string name;
  bool has_section = false;  // written as a section of its own
  std::vector<RegItem> items;
  std::vector<std::unique_ptr<RegNode>> children;

  RegNode* Child(std::string_view child_name) const;
  RegNode* AddChild(std::string_view child_name);  // the existing one, or a new one
  bool RemoveChild(std::string_view child_name);
  // Index of the named value in items, or -1.
  int ValueIndex(std::string_view value_name) const;
  // Replaces the named value (keeping its stored spelling) or appends it.
  void SetValue(RegItem item);
  bool RemoveValue(std::string_view value_name);
};

using RegPath = std::vector<std::string>;

// Splits "A\\B\\C" at the backslashes, skipping empty parts.
RegPath SplitRegPath(std::string_view path);
// The full name of a root ("HKLM" and "HKEY_LOCAL_MACHINE" give the latter),
// or "" for an unknown root.
std::string_view RegRootName(std::string_view name);

RegNode* FindRegKey(const RegNode& root, const RegPath& path);
// Creates the missing keys of the path; the last one gets a section.
RegNode* MakeRegKey(RegNode* root, const RegPath& path);
bool RemoveRegKey(RegNode* root, const RegPath& path);

}  // namespace qx
