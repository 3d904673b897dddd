// The system's message text for a code, as the event-log reports of the
// server give it beside the code.
#pragma once

#include <string>

#include "platform/com_types.h"

namespace qx {

// The Windows system's text of the codes this server meets (a Win32 code
// wrapped in an HRESULT gives its system error's text); for any other code
// the description of the error log line (QXDescricaoHresult), and without one
// the code's SDK name. Empty for a code that has none of these. Windows-1252.
std::string TextoMensagemSistema(HRESULT hr);

}  // namespace qx
