// The description of an HRESULT that the error log line shows.
#pragma once

#include <string>

#include "platform/com_types.h"

// For facility 4, the suite's fixed text of the low word when it has one;
// otherwise the text of the message library "QXLMensagem" (empty when the
// library or its entry point is missing), at most kMaxTextoNome characters.
std::string QXDescricaoHresult(HRESULT hr);

namespace qx {

// The entry point of the message library: the description of a code, in
// Windows-1252, valid until the library is unloaded (null for none).
using QXGetDescricaoHRESULTFn = const char* (*)(HRESULT hr);

}  // namespace qx
