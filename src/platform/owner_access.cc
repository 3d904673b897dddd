#include "platform/owner_access.h"

#include <errno.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace qx {
namespace {

constexpr unsigned kPrivateFile = 0600;
constexpr unsigned kOfficeFile = 0660;
constexpr unsigned kPrivateFolder = 0700;
constexpr unsigned kOfficeFolder = 02770;

std::string Parent(const std::string& path) {
  const size_t end = path.find_last_not_of('/');
  if (end == std::string::npos) return "/";
  const size_t slash = path.rfind('/', end);
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool Exists(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

// The group's id, or why there is none.
std::string GroupId(const std::string& group, gid_t* gid) {
  std::vector<char> buffer(16384);
  struct group entry {};
  struct group* found = nullptr;
  const int error = getgrnam_r(group.c_str(), &entry, buffer.data(), buffer.size(), &found);
  if (found == nullptr) {
    return "o grupo " + group + " não existe" +
           (error != 0 ? " (" + std::string(std::strerror(error)) + ")" : "");
  }
  *gid = found->gr_gid;
  return "";
}

// Gives path the group (unless -1) and the bits; "" or why not.
std::string Apply(const std::string& path, gid_t gid, unsigned mode) {
  if (gid != static_cast<gid_t>(-1) && chown(path.c_str(), static_cast<uid_t>(-1), gid) != 0) {
    return "não consigo dar " + path + " ao grupo (" + std::strerror(errno) +
           "): só o root ou um membro do grupo pode";
  }
  if (chmod(path.c_str(), mode) != 0) {
    return "não consigo mudar o modo de " + path + " (" + std::strerror(errno) + ")";
  }
  return "";
}

}  // namespace

std::optional<unsigned> PermissionBits(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return static_cast<unsigned>(status.st_mode & 07777);
}

bool IsOfficeFolder(const std::string& folder) {
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  const mode_t mode = status.st_mode;
  return (mode & S_IWGRP) != 0 && (mode & S_ISGID) != 0 && (mode & (S_IWOTH | S_ISVTX)) == 0;
}

unsigned NewFileMode(const std::string& folder) {
  return IsOfficeFolder(folder) ? kOfficeFile : kPrivateFile;
}

int MakeFolders(const std::string& path, const std::string& model) {
  if (path.empty() || Exists(path)) return 0;
  const std::string parent = Parent(path);
  if (int error = MakeFolders(parent, model)) return error;
  const std::string& like = model.empty() ? parent : model;
  struct stat status {};
  const bool office = IsOfficeFolder(like) && stat(like.c_str(), &status) == 0;
  if (mkdir(path.c_str(), kPrivateFolder) != 0) return errno == EEXIST ? 0 : errno;
  // mkdir keeps only what the umask lets through; the bits are set whole.
  if (office && chown(path.c_str(), static_cast<uid_t>(-1), status.st_gid) != 0) return errno;
  return chmod(path.c_str(), office ? kOfficeFolder : kPrivateFolder) != 0 ? errno : 0;
}

std::string MakeOwnFolder(const std::string& folder, const std::string& group) {
  gid_t gid = static_cast<gid_t>(-1);
  if (!group.empty()) {
    if (std::string why = GroupId(group, &gid); !why.empty()) return why;
  }
  if (int error = MakeFolders(folder)) {
    return "não consigo criar " + folder + " (" + std::strerror(error) + ")";
  }
  return Apply(folder, gid, group.empty() ? kPrivateFolder : kOfficeFolder);
}

std::string ShareForReading(const std::string& file, const std::string& group) {
  gid_t gid = static_cast<gid_t>(-1);
  if (std::string why = GroupId(group, &gid); !why.empty()) return why;
  return Apply(file, gid, 0640);
}

}  // namespace qx
