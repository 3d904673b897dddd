#include "platform/unix_socket.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace qx {
namespace {

bool MakeAddress(const std::string& path, sockaddr_un* address) {
  std::memset(address, 0, sizeof(*address));
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof(address->sun_path)) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

std::string ClassSocketPath(const std::string& folder, const CLSID& clsid) {
  return folder + "/" + GuidToText(clsid) + ".sock";
}

std::string ClassLockPath(const std::string& folder, const CLSID& clsid) {
  return folder + "/" + GuidToText(clsid) + ".lock";
}

int ListenUnix(const std::string& path, uint32_t mode) {
  sockaddr_un address;
  if (!MakeAddress(path, &address)) return -ENAMETOOLONG;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -errno;
  unlink(path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      chmod(path.c_str(), mode) != 0 || listen(fd, SOMAXCONN) != 0) {
    int error = errno;
    close(fd);
    return -error;
  }
  return fd;
}

int ConnectUnix(const std::string& path) {
  sockaddr_un address;
  if (!MakeAddress(path, &address)) return -ENAMETOOLONG;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -errno;
  int result;
  do {
    result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    int error = errno;
    close(fd);
    return -error;
  }
  return fd;
}

int AcceptUnix(int listener) {
  int fd;
  do {
    fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? -errno : fd;
}

bool SendAll(int fd, const void* bytes, size_t size) {
  const char* next = static_cast<const char*>(bytes);
  while (size > 0) {
    ssize_t sent = send(fd, next, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    next += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

bool ReceiveAll(int fd, void* bytes, size_t size) {
  char* next = static_cast<char*>(bytes);
  while (size > 0) {
    ssize_t got = recv(fd, next, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    next += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

int64_t ReceiveSome(int fd, void* bytes, size_t size, int waitMs) {
  for (;;) {
    pollfd in = {fd, POLLIN, 0};
    int ready = waitMs < 0 ? 1 : poll(&in, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return -errno;
    if (ready == 0) return -ETIMEDOUT;
    ssize_t got = recv(fd, bytes, size, 0);
    if (got < 0 && errno == EINTR) continue;
    return got < 0 ? -errno : got;
  }
}

void ShutdownSocket(int fd) { shutdown(fd, SHUT_RDWR); }

void CloseSocket(int fd) {
  if (fd >= 0) close(fd);
}

}  // namespace qx
