// What one class's server takes on from its clients: how many connections it serves at
// once (past that, a new one gets a refusal notice and is closed), and how long a
// connection that holds no object and no server lock may take to send a request before it
// is closed. A frame never costs more memory than the bytes that have arrived of it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

struct ServerLimits {
  size_t connections = 512;
  uint32_t idleMs = 30000;
};

// The limits in force; a change applies to the connections accepted and the requests
// awaited afterwards (from any thread).
ServerLimits GetServerLimits();
void SetServerLimits(const ServerLimits& limits);

}  // namespace qx
