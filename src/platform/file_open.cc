// CFile::Open: name resolution, the read-only attribute, share modes, then truncation.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/owner_access.h"
#include "platform/path_case.h"
#include "platform/share_lock.h"

namespace {

constexpr unsigned kAccessBits = CFile::modeWrite | CFile::modeReadWrite;
constexpr unsigned kShareBits = 0x70;

int OpenDescriptor(const std::string& path, int flags) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);  // a FIFO never blocks
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Creates the file with the bits of a new file of its folder, whatever the umask; when another
// opener created it meanwhile, opens that one.
int CreateDescriptor(const std::string& path, int flags) {
  int fd = OpenDescriptor(path, flags | O_CREAT | O_EXCL);
  if (fd < 0) return errno == EEXIST ? OpenDescriptor(path, flags) : fd;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  fchmod(fd, qx::NewFileMode(folder));
  return fd;
}

// Opens path under its exact spelling or, when that does not exist, under the spelling found
// ignoring case; with create, a missing file gets the given spelling. Returns the descriptor
// or -errno, and the spelling opened in *actual.
int OpenIgnoringCase(const char* path, int flags, bool create, std::string* actual) {
  *actual = path;
  int fd = OpenDescriptor(*actual, flags);
  if (fd >= 0) return fd;
  if (errno != ENOENT) return -errno;
  *actual = qx::ResolveNameCase(*actual);
  int error = ENOENT;
  if (*actual != path || create) {
    fd = create ? CreateDescriptor(*actual, flags) : OpenDescriptor(*actual, flags);
    if (fd >= 0) return fd;
    error = errno;
  }
  return -(error == ENOENT ? qx::MissingPathError(*actual) : error);
}

// Why an open descriptor may not be used as asked: a directory is no file, and a file without
// write permission bits is read-only also for root. A file of ours opened for writing loses
// what its bits give other users (made by an older version, or by hand): none of them may read
// it, nor lock it against our writes. Only a regular file: a device reached by a link (/dev/null
// owned by root, say) is the whole machine's.
int CheckOpened(int fd, bool writes) {
  struct stat status;
  if (fstat(fd, &status) != 0) return errno;
  if (S_ISDIR(status.st_mode)) return EISDIR;
  if (writes && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
  if (writes && S_ISREG(status.st_mode) && (status.st_mode & S_IRWXO) != 0 &&
      status.st_uid == geteuid()) {
    fchmod(fd, status.st_mode & 07770);
  }
  return 0;
}

}  // namespace

bool CFile::Open(const char* path, unsigned flags, CFileException* error) {
  auto fail = [&](int cause, long osError) {
    if (error) *error = CFileException(cause, osError, path);
    return false;
  };
  if (IsOpen() || (flags & kAccessBits) == kAccessBits || (flags & kShareBits) > shareDenyNone) {
    return fail(CFileException::genericException, -1);
  }
  if (path == nullptr || *path == '\0') return fail(CFileException::badPath, EINVAL);
  if (int cause = qx::FileFaults::Check(qx::FileOp::Open, path)) {
    return fail(cause, CFileException::ExceptionToOsError(cause));
  }
  const bool create = (flags & modeCreate) != 0;
  const bool truncate = create && (flags & modeNoTruncate) == 0;
  const bool writes = (flags & kAccessBits) != modeRead || truncate;
  // Always readable, as the share locks need; Read and Write check the access asked for.
  std::string actual;
  int fd = OpenIgnoringCase(path, writes ? O_RDWR : O_RDONLY, create, &actual);
  if (fd < 0) return fail(CFileException::OsErrorToException(-fd), -fd);
  int failure = CheckOpened(fd, writes);
  if (failure == 0) failure = qx::TakeShareLocks(fd, qx::ShareModeOfFlags(flags));
  // Truncate only once the share modes allow this open, so a file that someone else holds is
  // never emptied by a create that then fails.
  if (failure == 0 && truncate && ftruncate(fd, 0) != 0) failure = errno;
  if (failure != 0) {
    close(fd);
    return fail(CFileException::OsErrorToException(failure), failure);
  }
  m_hFile = fd;
  m_bReadable = (flags & kAccessBits) != modeWrite;
  m_bWritable = (flags & kAccessBits) != modeRead;
  const unsigned share = flags & kShareBits;
  m_bKeepsLength = m_bWritable && share != shareDenyRead && share != shareDenyNone;
  m_knownLength = -1;
  m_position = 0;
  m_strFilePath = actual;
  return true;
}
