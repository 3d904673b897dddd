// The runtime folder, which holds the sockets and lock files of the local servers:
// QX_RUNTIME_DIR, else /tmp/qx-<uid>. Whoever can put a socket in it can pose as a server,
// so it is used only when nobody but its owner can write there: a real folder (not a link)
// of the user's own (a client also accepts root's, as it accepts a server run by root),
// that no other user may write or list. Others may at most enter it, which is how a server
// whose authentication is off lets them reach its socket.
#pragma once

#include <string>

namespace qx {

std::string RuntimeFolder();

enum class RuntimeSide { kClient, kServer };

// Creates the folder 0700 when absent, then checks it: "" when it can be used, else one
// sentence for people (UTF-8) that names the folder, says what is wrong and what to do.
std::string CheckRuntimeFolder(const std::string& folder, RuntimeSide side);

// "a pasta de execução <folder> <what>." and what to do about it.
std::string RuntimeFolderRefusal(const std::string& folder, const std::string& what);

// Gives a checked folder the server's mode: 0700, or 0711 with `shared` so that other
// users can reach the sockets in it without listing it. False when it cannot be set.
bool SetRuntimeFolderMode(const std::string& folder, bool shared);

}  // namespace qx
