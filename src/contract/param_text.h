// Parameter values as the profiler's entry record shows them: numbers in
// decimal, CURRENCY as its count of ten-thousandths, a single unsigned char as
// that character, BSTR and fixed character fields as Windows-1252 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "contract/profiler_identity.h"
#include "platform/bstr.h"
#include "platform/com_types.h"

namespace qx {

inline std::string ParamText(int16_t value) { return std::to_string(value); }
inline std::string ParamText(uint16_t value) { return std::to_string(value); }
inline std::string ParamText(int32_t value) { return std::to_string(value); }
inline std::string ParamText(uint32_t value) { return std::to_string(value); }
inline std::string ParamText(CURRENCY value) { return std::to_string(value.int64); }
// A zero byte shows as nothing, so that no NUL reaches the text log.
inline std::string ParamText(unsigned char value) {
  return value == 0 ? std::string() : std::string(1, static_cast<char>(value));
}
inline std::string ParamText(BSTR value) { return BstrToCp1252(value); }
template <size_t N>
std::string ParamText(const char (&field)[N]) {
  return FieldText(field);
}

// The value a pointer designates; nothing for a null pointer.
template <class T>
std::string ParamTextAt(const T* pointer) {
  return pointer != nullptr ? ParamText(*pointer) : std::string();
}

}  // namespace qx
