// The file system a folder lives on: its kind, its mount and its options, and
// whether machines share it over a network.
#pragma once

#include <string>
#include <string_view>

namespace qx {

struct FileSystemInfo {
  // As the mount table names it ("nfs4", "cifs", "ext4"), else the kernel's
  // name of its kind.
  std::string type;
  std::string mountPoint;  // empty when the mount table does not tell
  // The mount's options and then the file system's own, comma-separated.
  std::string options;
  // NFS, SMB/CIFS, FUSE (sshfs, glusterfs ...), AFS, Ceph, 9P, cluster file
  // systems: anything whose files other machines may open.
  bool network = false;
};

// What holds path. False when it cannot be examined (a missing path).
bool DescribeFileSystem(const std::string& path, FileSystemInfo* info);

// The mount of device `device` ("major:minor") that holds the absolute path,
// read from the text of /proc/self/mountinfo: the longest mount point of that
// device above the path. False when there is none.
bool FindMount(std::string_view mountinfo, std::string_view device, std::string_view path,
               FileSystemInfo* info);

// Tests: every folder reported as this; null restores the real answers.
void SetFileSystemForTesting(const FileSystemInfo* info);

}  // namespace qx
