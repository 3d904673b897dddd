// Unix-domain stream sockets of the local-server runtime and their names in the runtime
// folder (runtime_folder.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/guid.h"

namespace qx {

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
// Waits up to waitMs (-1: without end) for bytes and reads what came, at most `size`: how
// many, 0 when the peer closed, -ETIMEDOUT when nothing came in time, else -errno.
int64_t ReceiveSome(int fd, void* bytes, size_t size, int waitMs);
// Wakes every blocked read of the socket and ends both directions; the descriptor stays.
void ShutdownSocket(int fd);
void CloseSocket(int fd);

}  // namespace qx
