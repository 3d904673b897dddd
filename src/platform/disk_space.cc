#include "platform/disk_space.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/owner_access.h"

namespace qx {

uint64_t FreeBytes(const std::string& path) {
  struct statvfs status;
  if (statvfs(path.c_str(), &status) != 0) return UINT64_MAX;
  return static_cast<uint64_t>(status.f_bavail) * status.f_frsize;
}

bool CreateEmptyFileLike(const std::string& path, const std::string& like) {
  struct stat status;
  if (lstat(path.c_str(), &status) == 0) return true;
  const size_t slash = path.rfind('/');
  mode_t mode = NewFileMode(slash == std::string::npos ? "." : path.substr(0, slash + 1));
  if (!like.empty() && stat(like.c_str(), &status) == 0) mode = status.st_mode & 0777;
  static std::atomic<unsigned> sequence{0};
  const std::string temporary = path + "." + std::to_string(getpid()) + "." +
                                std::to_string(sequence.fetch_add(1)) + ".new";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  fchmod(fd, mode);  // whatever the umask took away
  close(fd);
  const bool linked = link(temporary.c_str(), path.c_str()) == 0 || errno == EEXIST;
  unlink(temporary.c_str());
  return linked;
}

}  // namespace qx
