// Starting a class's local server on demand.
#pragma once

#include <string>
#include <vector>

#include "platform/com_types.h"

namespace qx {

// The words of a command line: separated by blanks and tabs, a word in double quotes may
// hold blanks.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Runs the command line with "-Embedding" added, detached from this process (its own
// session, standard streams on /dev/null, no descriptor of ours). CO_E_SERVER_EXEC_FAILURE
// when its program cannot be run; E_OUTOFMEMORY when no process can be made for it.
HRESULT LaunchLocalServer(const std::string& commandLine);

}  // namespace qx
