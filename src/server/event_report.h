// Reports of the server's creation of peer objects to the system event log,
// under the event source "QX Sistemas".
#pragma once

#include <string>

#include "platform/com_types.h"
#include "platform/event_log.h"
#include "platform/guid.h"

namespace qx {

// One event of type tipo with the code as its id and two strings: texto, and
// "\nHR: 0x%X (%s)\nCLSID: %s\nPrograma: %s\n" with the code, its system
// message, the class id and the executable's full path.
void ReportaEvento(EventType tipo, HRESULT hr, REFCLSID clsid, const std::string& texto);

}  // namespace qx
