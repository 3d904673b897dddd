// Globally unique identifiers in the Windows layout, random generation and
// the text form used in logs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com_types.h"

#pragma pack(push, 1)
struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
#pragma pack(pop)
static_assert(sizeof(GUID) == 16);
static_assert(offsetof(GUID, Data1) == 0);
static_assert(offsetof(GUID, Data2) == 4);
static_assert(offsetof(GUID, Data3) == 6);
static_assert(offsetof(GUID, Data4) == 8);

inline bool operator==(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::equal(a.Data4, a.Data4 + 8, b.Data4);
}

// Fills *guid with a new random (version 4) identifier. E_FAIL only when the
// system gives no random bytes; *guid is then all zero.
HRESULT CoCreateGuid(GUID* guid);

namespace qx {

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper case, without braces.
std::string GuidToText(const GUID& guid);

}  // namespace qx
