#include "platform/peer_cred.h"

#include <sys/socket.h>
#include <unistd.h>

namespace qx {

bool GetPeerCredentials(int fd, PeerCredentials* peer) {
  ucred credentials{};
  socklen_t size = sizeof(credentials);
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return false;
  peer->uid = credentials.uid;
  peer->pid = credentials.pid;
  return true;
}

bool PeerAllowed(const PeerCredentials& peer, bool anyUser) {
  return anyUser || peer.uid == 0 || peer.uid == geteuid();
}

}  // namespace qx
