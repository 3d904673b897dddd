// CFile's operations on files by name: Remove, Rename, IsReadOnly.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/path.h"
#include "platform/path_case.h"
#include "platform/share_lock.h"

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

const char* Checked(const char* path) {
  if (path == nullptr || *path == '\0') CFileException::Throw(CFileException::badPath, EINVAL, "");
  return path;
}

// 0 when no open holds the file, EBUSY when one does, EACCES when write permission is needed
// and the file has none. A file that cannot be opened to look is left to the operation itself.
int CheckFree(const std::string& path, bool needsWrite) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return 0;
  struct stat status;
  int error = fstat(fd, &status) != 0 ? errno : 0;
  if (error == 0 && S_ISREG(status.st_mode)) {
    bool inUse = false;
    error = qx::FileInUse(fd, &inUse);
    if (error == 0 && inUse) error = EBUSY;
    if (error == 0 && needsWrite && (status.st_mode & kWriteBits) == 0) error = EACCES;
  }
  close(fd);
  return error;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return lstat(a.c_str(), &first) == 0 && lstat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The name a rename gives: the new path's spelling where it exists, or EEXIST through *error
// when it names another file (a rename never replaces one).
std::string RenameTarget(const std::string& source, const char* newPath, int* error) {
  std::string target = qx::ResolveNameCase(newPath);
  struct stat status;
  if (lstat(target.c_str(), &status) != 0) return target;
  if (!SameFile(source, target)) {
    *error = EEXIST;
    return target;
  }
  // A new spelling of the same file: keep the folder found, take the name as given.
  std::string name(newPath);
  size_t separator = qx::LastSeparator(name);
  size_t folderEnd = qx::LastSeparator(target);
  if (separator != std::string::npos) name = name.substr(separator + 1);
  return folderEnd == std::string::npos ? name : target.substr(0, folderEnd + 1) + name;
}

int RenameNoReplace(const std::string& source, const std::string& target) {
  if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without no-replace renames: check first, then rename.
  struct stat status;
  if (lstat(target.c_str(), &status) == 0 && !SameFile(source, target)) return EEXIST;
  return rename(source.c_str(), target.c_str()) == 0 ? 0 : errno;
}

}  // namespace

void CFile::Remove(const char* path) {
  qx::FileFaults::ThrowIfInjected(qx::FileOp::Remove, Checked(path));
  std::string actual = qx::ResolveNameCase(path);
  int error = CheckFree(actual, true);
  if (error == 0 && unlink(actual.c_str()) != 0) error = errno;
  if (error == ENOENT) error = qx::MissingPathError(actual);
  if (error != 0) CFileException::ThrowOsError(error, path);
}

void CFile::Rename(const char* oldPath, const char* newPath) {
  qx::FileFaults::ThrowIfInjected(qx::FileOp::Rename, Checked(oldPath));
  Checked(newPath);
  std::string source = qx::ResolveNameCase(oldPath);
  struct stat status;
  int error = lstat(source.c_str(), &status) == 0 ? CheckFree(source, false) : errno;
  std::string target = error == 0 ? RenameTarget(source, newPath, &error) : std::string();
  if (error == 0) error = RenameNoReplace(source, target);
  if (error == ENOENT) error = qx::MissingPathError(source);
  if (error != 0) CFileException::ThrowOsError(error, oldPath);
}

void CFile::RenameReplacing(const char* oldPath, const char* newPath) {
  qx::FileFaults::ThrowIfInjected(qx::FileOp::Rename, Checked(oldPath));
  Checked(newPath);
  std::string source = qx::ResolveNameCase(oldPath);
  std::string target = qx::ResolveNameCase(newPath);
  struct stat status;
  int error = lstat(source.c_str(), &status) == 0 ? CheckFree(source, false) : errno;
  if (error == 0 && !SameFile(source, target)) error = CheckFree(target, true);
  if (error == 0 && rename(source.c_str(), target.c_str()) != 0) error = errno;
  if (error == ENOENT) error = qx::MissingPathError(source);
  if (error != 0) CFileException::ThrowOsError(error, oldPath);
}

bool CFile::IsReadOnly(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  struct stat status;
  return stat(qx::ResolveNameCase(path).c_str(), &status) == 0 &&
         (status.st_mode & kWriteBits) == 0;
}
