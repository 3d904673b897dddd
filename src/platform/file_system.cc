#include "platform/file_system.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <vector>

namespace qx {
namespace {

struct Kind {
  unsigned long magic;
  const char* name;
  bool network;
};

// statfs's f_type of the file systems that machines share, and a few local
// ones by name.
constexpr Kind kKinds[] = {
    {0x6969, "nfs", true},          {0x517B, "smb", true},        {0xFF534D42, "cifs", true},
    {0xFE534D42, "smb2", true},     {0x65735546, "fuse", true},   {0x73757245, "coda", true},
    {0x5346414F, "afs", true},      {0x6B414653, "afs", true},    {0x00C36400, "ceph", true},
    {0x01021997, "9p", true},       {0x564C, "ncpfs", true},      {0x01161970, "gfs2", true},
    {0x7461636F, "ocfs2", true},    {0x0BD00BD0, "lustre", true}, {0x47504653, "gpfs", true},
    {0x20030528, "orangefs", true}, {0xEF53, "ext4", false},      {0x58465342, "xfs", false},
    {0x9123683E, "btrfs", false},   {0x01021994, "tmpfs", false}, {0x794C7630, "overlay", false},
};

std::mutex g_testingMutex;
std::optional<FileSystemInfo> g_testing;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    const size_t end = std::min(line.find(' ', at), line.size());
    if (end > at) fields.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

// The mount table escapes spaces and the like as \ooo.
std::string Unescape(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      plain += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                 (text[i + 3] - '0'));
      i += 3;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

bool Above(std::string_view mount, std::string_view path) {
  if (mount == "/") return true;
  return path.starts_with(mount) && (path.size() == mount.size() || path[mount.size()] == '/');
}

}  // namespace

void SetFileSystemForTesting(const FileSystemInfo* info) {
  std::lock_guard lock(g_testingMutex);
  if (info != nullptr) {
    g_testing = *info;
  } else {
    g_testing.reset();
  }
}

bool FindMount(std::string_view mountinfo, std::string_view device, std::string_view path,
               FileSystemInfo* info) {
  bool found = false;
  std::istringstream lines{std::string(mountinfo)};
  for (std::string line; std::getline(lines, line);) {
    // id parent major:minor root mount-point options [optional ...] - type source super-options
    const std::vector<std::string_view> fields = Fields(line);
    size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash + 1 >= fields.size() || fields[2] != device) continue;
    const std::string mount = Unescape(fields[4]);
    if (!Above(mount, path) || (found && mount.size() <= info->mountPoint.size())) continue;
    found = true;
    info->mountPoint = mount;
    info->type = std::string(fields[dash + 1]);
    info->options = std::string(fields[5]);
    if (dash + 3 < fields.size()) info->options += "," + std::string(fields[dash + 3]);
  }
  return found;
}

bool DescribeFileSystem(const std::string& path, FileSystemInfo* info) {
  {
    std::lock_guard lock(g_testingMutex);
    if (g_testing) {
      *info = *g_testing;
      return true;
    }
  }
  *info = FileSystemInfo();
  struct statfs fs;
  struct stat st;
  if (statfs(path.c_str(), &fs) != 0 || stat(path.c_str(), &st) != 0) return false;
  const auto magic = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFul;
  info->type = "0x" + (std::ostringstream() << std::hex << magic).str();
  for (const Kind& kind : kKinds) {
    if (kind.magic == magic) {
      info->type = kind.name;
      info->network = kind.network;
    }
  }
  std::error_code error;
  const std::string absolute = std::filesystem::canonical(path, error).string();
  std::ifstream file("/proc/self/mountinfo");
  const std::string mountinfo{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
  const std::string device =
      std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
  FileSystemInfo mount = *info;
  if (!error && FindMount(mountinfo, device, absolute, &mount)) {
    mount.network = info->network;
    *info = mount;
  }
  return true;
}

}  // namespace qx
