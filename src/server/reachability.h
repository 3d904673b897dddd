// The reachability test of a class's server, for the event-log report of a
// peer server that could not be reached.
#pragma once

#include <string>

#include "platform/com_types.h"
#include "platform/guid.h"

namespace qx {

// Looks up the class's application ("CLSID\{...}" value "AppID") and its
// "RemoteServerName" ("AppID\{...}"). With a name, *texto is the whole output
// of "ping" on it (4 echoes, at most 10 s); without one, "Falta informar o
// IP". S_OK, or the Windows error of a failure to start ping as an HRESULT.
HRESULT TestaAlcance(REFCLSID clsid, std::string* texto);

}  // namespace qx
