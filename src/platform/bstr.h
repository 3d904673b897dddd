// Automation texts (BSTR): UTF-16 characters preceded by their length in bytes (32 bits) and
// followed by a NUL character. The pointer designates the first character, so a BSTR reads
// as a NUL-terminated text too, but only the length prefix tells where it ends: embedded NULs
// are part of the text. A null BSTR is the empty text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// A copy of the NUL-terminated text; null for a null text or when memory is short.
BSTR SysAllocString(const OLECHAR* text);
// A text of `length` characters copied from `text`, or all zero when `text` is null; null
// when memory is short or the length in bytes would not fit in 32 bits.
BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length);
// A text of `byteLength` bytes copied from `bytes` (zero when null), for byte buffers
// carried in a BSTR; an odd length leaves a half character that SysStringLen does not count.
BSTR SysAllocStringByteLen(const char* bytes, uint32_t byteLength);
// Length in characters and in bytes, from the prefix; 0 for null.
uint32_t SysStringLen(BSTR text);
uint32_t SysStringByteLen(BSTR text);
// Frees a text of the allocators above; null is accepted.
void SysFreeString(BSTR text);

namespace qx {

// The characters of the text, embedded NULs included; empty for null.
std::u16string_view BstrView(BSTR text);

// A new BSTR from a Windows-1252 text (the caller frees it); null only when memory is short.
BSTR BstrFromCp1252(std::string_view text);
// The Windows-1252 text of a BSTR; characters outside the code page become '?'.
std::string BstrToCp1252(BSTR text);

struct BstrFree {
  void operator()(BSTR text) const { SysFreeString(text); }
};
// A BSTR that frees itself.
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFree>;

}  // namespace qx
