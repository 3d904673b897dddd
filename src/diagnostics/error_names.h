// The texts that the error log line shows for an HRESULT. Each is at most
// kMaxTextoNome characters; a value without a name gives an empty text.
#pragma once

#include <cstddef>
#include <string>

#include "platform/com_types.h"

// The description: for facility 4, the suite's fixed text of the low word
// when it has one; otherwise the text of the message library "QXLMensagem"
// (empty when the library or its entry point is missing).
std::string QXDescricaoHresult(HRESULT hr);

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

// The entry point of the message library: the description of a code, in
// Windows-1252, valid until the library is unloaded (null for none).
using QXGetDescricaoHRESULTFn = const char* (*)(HRESULT hr);

}  // namespace qx
