// Where a key of the registry lives: which store files, under which path.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/registry_tree.h"

namespace qx {

struct RegLocation {
  std::string file;
  RegPath path;  // UTF-8, starting with the root's full name
};

struct RegView {
  std::vector<RegLocation> reads;  // in lookup order
  RegLocation write;               // file "" when the key cannot be written
  bool is_root = false;            // the key is a bare root name
};

// `key` is Windows-1252 text. ERROR_BADKEY for an unknown root.
long ResolveRegKey(const Registry& registry, const std::string& key, RegView* view);

// Calls `visit` on each existing key of the view, in lookup order, until it
// returns true. ERROR_FILE_NOT_FOUND when the key exists nowhere.
long VisitRegKey(const RegView& view, const std::function<bool(const RegNode&)>& visit);

}  // namespace qx
