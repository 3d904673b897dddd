#include "platform/localserver_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

ClassLock::~ClassLock() {
  if (fd_ >= 0) close(fd_);
}

bool ClassLock::Acquire(const std::string& path, bool* busy) {
  if (busy != nullptr) *busy = false;
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  fchmod(fd, 0600);  // whatever the umask left of it, the next server opens it too
  int result;
  do {
    result = flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    if (busy != nullptr) *busy = errno == EWOULDBLOCK;
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool ClassLock::IsHeld(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  int result;
  do {
    result = flock(fd, LOCK_SH | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  const bool held = result != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

}  // namespace qx
