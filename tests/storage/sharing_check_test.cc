// Whether a folder can be shared: its mount as the mount table tells it, the
// options that keep locks on one machine, and the locks of marks and share
// modes tried by a second process.
#include "storage/sharing_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../platform/test_support.h"

namespace qx {
namespace {

constexpr char kMountInfo[] =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "40 22 0:51 / /mnt/escritorio rw,relatime shared:5 - nfs4 srv:/e "
    "rw,vers=4.2,hard,local_lock=all,addr=10.0.0.1\n"
    "41 22 0:52 / /mnt/smb\\040um rw - cifs //srv/e rw,vers=3.1.1,nobrl,cache=strict\n"
    "42 22 0:53 / /mnt/fuse rw - fuse.sshfs srv: rw,user_id=0\n"
    "43 22 8:1 /dados /srv rw - ext4 /dev/sda1 rw\n";

TEST(SharingCheckTest, MountsAndTheOptionsThatKeepLocksLocal) {
  const struct {
    const char* device;
    const char* path;
    const char* mountPoint;  // "" when none matches
    const char* type;
    std::vector<std::string> local;
  } cases[] = {
      {"0:51", "/mnt/escritorio/ACME/DF", "/mnt/escritorio", "nfs4", {"local_lock=all"}},
      {"0:52", "/mnt/smb um/ACME", "/mnt/smb um", "cifs", {"nobrl"}},
      {"0:53", "/mnt/fuse/x", "/mnt/fuse", "fuse.sshfs", {"fuse.sshfs"}},
      {"8:1", "/srv/ACME", "/srv", "ext4", {}},
      {"8:1", "/srvx/ACME", "/", "ext4", {}},
      {"0:99", "/mnt/escritorio", "", "", {}},
  };
  for (const auto& c : cases) {
    FileSystemInfo info;
    EXPECT_EQ(FindMount(kMountInfo, c.device, c.path, &info), *c.mountPoint != '\0') << c.path;
    EXPECT_EQ(info.mountPoint, c.mountPoint) << c.path;
    EXPECT_EQ(info.type, c.type) << c.path;
    EXPECT_EQ(LocalLockOptions(info), c.local) << c.path;
  }
}

TEST(SharingCheckTest, LocksOfOneProcessStopAnotherUntilLetGo) {
  test::TempDir folder;
  SharingCheck check;
  std::string error;
  ASSERT_TRUE(CheckSharing(folder.path(), &check, &error)) << error;
  EXPECT_TRUE(check.Shareable());
  EXPECT_TRUE(check.lockFailures.empty()) << check.lockFailures.front();
  EXPECT_FALSE(check.fileSystem.type.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  EXPECT_FALSE(CheckSharing(folder.path() + "/nada", &check, &error));
}

}  // namespace
}  // namespace qx
