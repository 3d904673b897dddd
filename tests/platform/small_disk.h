// A small tmpfs mounted on a fresh folder, for the tests of a full disk.
// Mounting needs root (CAP_SYS_ADMIN); where it is refused the object is not
// mounted and Reason() says why, for the test to skip with that message.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace qx::test {

class SmallDisk {
 public:
  explicit SmallDisk(const char* size = "1m") {
    const std::string options = std::string("size=") + size;
    if (mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      reason_ = "mount -t tmpfs -o " + options + " refused (" + std::strerror(errno) +
                "): the full-disk case needs root";
    }
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.path().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Reason() const { return reason_; }
  const std::string& path() const { return folder_.path(); }
  std::string operator/(std::string_view name) const { return folder_ / name; }

  // Fills the disk with a filler file until not one more byte fits.
  void Fill() const {
    const int fd = open(Filler().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::vector<char> zeros(65536);
    for (size_t piece = zeros.size(); piece > 0; piece /= 16) {
      while (write(fd, zeros.data(), piece) == static_cast<ssize_t>(piece)) {
      }
    }
    close(fd);
  }
  // Removes the filler: the space is back.
  void Free() const { unlink(Filler().c_str()); }

 private:
  std::string Filler() const { return folder_ / "filler"; }

  TempDir folder_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace qx::test
