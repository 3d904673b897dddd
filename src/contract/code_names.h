// The names of an HRESULT that the error log line shows. Each is at most
// kMaxTextoNome characters; a value without a name gives an empty text.
#pragma once

#include <cstddef>
#include <string>

#include "platform/com_types.h"

namespace qx {

inline constexpr size_t kMaxTextoNome = 399;

// "SEVERITY_SUCCESS" or "SEVERITY_ERROR".
std::string SeverityName(HRESULT hr);
// The Windows SDK name of the facility, the name of a suite module's facility,
// or "Desconhecido ou novo código de FACILITY".
std::string FacilityName(HRESULT hr);
// The Windows system error name of the low word; empty for facility 4.
std::string CodeName(HRESULT hr);
// The Windows SDK name of the whole code.
std::string SymbolicName(HRESULT hr);

// `text` cut to kMaxTextoNome characters; empty for null.
std::string NameText(const char* text);

}  // namespace qx
