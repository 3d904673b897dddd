// Who is at the other end of a local connection, and whether that user may call in.
#pragma once

#include <cstdint>

namespace qx {

struct PeerCredentials {
  uint32_t uid = 0;
  int32_t pid = 0;
};

// The credentials the kernel recorded when the peer connected; false when unknown.
bool GetPeerCredentials(int fd, PeerCredentials* peer);
// The process's own user and root may always connect; anyone else only with `anyUser`.
bool PeerAllowed(const PeerCredentials& peer, bool anyUser);

}  // namespace qx
