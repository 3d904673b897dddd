// Globally unique identifiers in the Windows layout, random generation and
// the text forms used in logs and in the registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}

// The order of the text forms, so that identifiers can key ordered maps.
constexpr bool operator<(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1) return a.Data1 < b.Data1;
  if (a.Data2 != b.Data2) return a.Data2 < b.Data2;
  if (a.Data3 != b.Data3) return a.Data3 < b.Data3;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return a.Data4[i] < b.Data4[i];
  }
  return false;
}

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
constexpr bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// Fills *guid with a new random (version 4) identifier. E_FAIL only when the
// system gives no random bytes; *guid is then all zero.
HRESULT CoCreateGuid(GUID* guid);

namespace qx {

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper case, without braces.
std::string GuidToText(const GUID& guid);
// The same in braces, as registry keys name classes: "{XXXXXXXX-...-XXXXXXXXXXXX}".
std::string GuidToBracedText(const GUID& guid);

// Reads the text form, in braces or without, hex digits in either case. Anything else
// (other length, misplaced dash, a brace on one side only, a non-hex digit) gives false
// and leaves *guid unchanged.
bool GuidFromText(std::string_view text, GUID* guid);

}  // namespace qx
