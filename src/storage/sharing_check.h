// Whether a company folder can be shared between workstations: the file
// system it lives on, the mount options that keep locks on one machine, and
// whether the locks that marks and share modes take stop a second process.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace qx {

struct SharingCheck {
  std::string folder;
  FileSystemInfo fileSystem;
  // The options that leave locks local to one machine (nolock, local_lock=
  // posix or all, nobrl), and a FUSE file system, whose locks only the
  // program behind it can forward.
  std::vector<std::string> localLocks;
  // What a second process found against the locks of this one: empty when
  // every mark and share mode stopped it, and freed it once let go.
  std::vector<std::string> lockFailures;

  bool Shareable() const { return localLocks.empty() && lockFailures.empty(); }
};

// The options of a mount that make its locks local.
std::vector<std::string> LocalLockOptions(const FileSystemInfo& fileSystem);

// Examines the folder, trying the locks in a file of its own there
// ("QXCOMPARTILHA.tmp", removed afterwards). False, with *error, when the
// folder cannot be examined or written.
bool CheckSharing(const std::string& folder, SharingCheck* check, std::string* error);

}  // namespace qx
