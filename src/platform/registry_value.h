// Reading the data of a stored value as the types that callers ask for.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_tree.h"

namespace qx {

// REG_SZ, REG_DWORD, REG_BINARY for "hex:", N for "hex(N):", else REG_NONE.
uint32_t RegItemType(const RegItem& item);
// A string (also REG_EXPAND_SZ or REG_SZ written in hex) as Windows-1252.
long RegItemString(const RegItem& item, std::string* value);
// A dword (also REG_DWORD written in hex).
long RegItemDword(const RegItem& item, uint32_t* value);

}  // namespace qx
