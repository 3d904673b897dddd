// Unix-domain stream sockets of the local-server runtime and the runtime folder that holds
// them: QX_RUNTIME_DIR, else /tmp/qx-<uid>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/guid.h"

namespace qx {

std::string RuntimeFolder();
// Creates the folder 0700 when absent. It must be a real folder (not a link) owned by the
// process's user. With `shared`, the folder is made 0711 so that other users can reach the
// sockets in it without listing it. False when unusable.
bool PrepareRuntimeFolder(const std::string& folder, bool shared);
// "<folder>/<CLSID text>.sock" and "<folder>/<CLSID text>.lock".
std::string ClassSocketPath(const std::string& folder, const CLSID& clsid);
std::string ClassLockPath(const std::string& folder, const CLSID& clsid);

// A listening socket bound at path (an old file there is replaced) with the file mode
// `mode`; -errno on failure.
int ListenUnix(const std::string& path, uint32_t mode);
// A socket connected to path; -errno on failure (-ENOENT, -ECONNREFUSED: nobody listens).
int ConnectUnix(const std::string& path);
// The next connection of a listening socket; -errno on failure.
int AcceptUnix(int listener);

// Whole blocks or nothing: false on an error or when the peer closed first.
bool SendAll(int fd, const void* bytes, size_t size);
bool ReceiveAll(int fd, void* bytes, size_t size);
// Wakes every blocked read of the socket and ends both directions; the descriptor stays.
void ShutdownSocket(int fd);
void CloseSocket(int fd);

}  // namespace qx
