// One registry store file: cached reading and locked, atomic rewriting.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/registry_tree.h"

namespace qx {

// The parsed tree of the file (empty when the file does not exist). The tree
// is cached per path and read again when the file's identity, size or time
// changes. Sets *status to ERROR_SUCCESS or ERROR_ACCESS_DENIED/ERROR_INVALID_DATA
// and then returns null.
std::shared_ptr<const RegNode> LoadRegistryFile(const std::string& path, long* status);

// Reads the file afresh under an exclusive lock on "<path>.lock", lets
// `change` edit the tree and, when it returns ERROR_SUCCESS and sets
// *changed, replaces the file atomically (temporary file in the same folder,
// fsync, rename). Creates the folder when missing. Returns change's code or
// the failure of the rewrite.
long EditRegistryFile(const std::string& path,
                      const std::function<long(RegNode* root, bool* changed)>& change);

}  // namespace qx
