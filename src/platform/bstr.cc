#include "platform/bstr.h"

#include <cstring>
#include <limits>

#include "platform/codepage.h"
#include "platform/task_memory.h"

namespace {

using Prefix = uint32_t;
constexpr size_t kTerminatorBytes = sizeof(OLECHAR);

Prefix* PrefixOf(BSTR text) { return reinterpret_cast<Prefix*>(text) - 1; }

// A text of `byteLength` bytes taken from `bytes`, or zeroed when `bytes` is null.
BSTR Allocate(const void* bytes, uint64_t byteLength) {
  if (byteLength > std::numeric_limits<Prefix>::max()) return nullptr;
  auto* block = static_cast<Prefix*>(
      CoTaskMemAlloc(sizeof(Prefix) + static_cast<size_t>(byteLength) + kTerminatorBytes));
  if (block == nullptr) return nullptr;
  *block = static_cast<Prefix>(byteLength);
  auto* data = reinterpret_cast<char*>(block + 1);
  if (bytes != nullptr) {
    std::memcpy(data, bytes, static_cast<size_t>(byteLength));
  } else {
    std::memset(data, 0, static_cast<size_t>(byteLength));
  }
  std::memset(data + byteLength, 0, kTerminatorBytes);
  return reinterpret_cast<BSTR>(data);
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  return SysAllocStringLen(text, static_cast<uint32_t>(std::char_traits<OLECHAR>::length(text)));
}

BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length) {
  return Allocate(text, uint64_t{length} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char* bytes, uint32_t byteLength) {
  return Allocate(bytes, byteLength);
}

uint32_t SysStringByteLen(BSTR text) { return text == nullptr ? 0 : *PrefixOf(text); }

uint32_t SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

void SysFreeString(BSTR text) {
  if (text != nullptr) CoTaskMemFree(PrefixOf(text));
}

namespace qx {

std::u16string_view BstrView(BSTR text) {
  if (text == nullptr) return {};
  return {text, SysStringLen(text)};
}

BSTR BstrFromCp1252(std::string_view text) {
  std::u16string wide = Cp1252ToUtf16(text);
  if (wide.size() > std::numeric_limits<uint32_t>::max()) return nullptr;
  return SysAllocStringLen(wide.data(), static_cast<uint32_t>(wide.size()));
}

std::string BstrToCp1252(BSTR text) { return Utf16ToCp1252(BstrView(text)); }

}  // namespace qx
