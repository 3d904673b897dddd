#include "platform/unix_socket.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/environment.h"

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

std::string RuntimeFolder() {
  std::string folder = GetEnvironmentText("QX_RUNTIME_DIR");
  if (!folder.empty()) return folder;
  return "/tmp/qx-" + std::to_string(geteuid());
}

bool PrepareRuntimeFolder(const std::string& folder, bool shared) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  if (info.st_uid != geteuid()) return false;
  return !shared || chmod(folder.c_str(), 0711) == 0;
}

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

void ShutdownSocket(int fd) { shutdown(fd, SHUT_RDWR); }

void CloseSocket(int fd) {
  if (fd >= 0) close(fd);
}

}  // namespace qx
