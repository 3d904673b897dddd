// What the system creates is its owner's alone, or its office group's, whatever the umask:
// folders, files made through CFile, the registry store; and a file of ours opened for writing
// loses what its bits give other users.
#include "platform/owner_access.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/file.h"
#include "platform/registry.h"
#include "test_support.h"

namespace qx::test {
namespace {

struct Modo {
  unsigned bits;
  gid_t grupo;
};

Modo ModoDe(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
  return {static_cast<unsigned>(status.st_mode & 07777), status.st_gid};
}

void Cria(const std::string& path) {
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
}

class Umask {
 public:
  explicit Umask(mode_t mask) : old_(umask(mask)) {}
  ~Umask() { umask(old_); }

 private:
  mode_t old_;
};

TEST(OwnerAccess, PrivateOrTheOfficesWhateverTheUmask) {
  // Root may hand a folder to any group; anyone else to a group of their own.
  const gid_t office = geteuid() == 0 ? 65534 : getegid();
  const group* entry = getgrgid(office);
  ASSERT_NE(entry, nullptr);
  const std::string name = entry->gr_name;
  for (const mode_t mask : {0000, 0022, 0077, 0277}) {
    TempDir dir;  // before the umask, which would take from it too
    const Umask umaskForTheCase(mask);
    ASSERT_EQ(MakeFolders(dir / "a/b"), 0);
    Cria(dir / "a/b/f.dat");
    Registry(dir / "a/registry.reg", "").SetString("HKLM\\SOFTWARE\\X", "V", "1");
    EXPECT_EQ(ModoDe(dir / "a").bits, 0700u) << mask;
    EXPECT_EQ(ModoDe(dir / "a/b").bits, 0700u) << mask;
    EXPECT_EQ(ModoDe(dir / "a/b/f.dat").bits, 0600u) << mask;
    EXPECT_EQ(ModoDe(dir / "a/registry.reg").bits, 0600u) << mask;
    EXPECT_FALSE(IsOfficeFolder(dir / "a")) << mask;

    ASSERT_EQ(MakeOwnFolder(dir / "office", name), "") << mask;
    ASSERT_EQ(MakeFolders(dir / "office/c"), 0);
    ASSERT_EQ(MakeFolders(dir / "elsewhere/d", dir / "office"), 0);  // made like the office's
    Cria(dir / "office/c/g.dat");
    for (const std::string folder : {"office", "office/c", "elsewhere", "elsewhere/d"}) {
      EXPECT_EQ(ModoDe(dir / folder).bits, 02770u) << folder << " " << mask;
      EXPECT_EQ(ModoDe(dir / folder).grupo, office) << folder;
    }
    EXPECT_EQ(ModoDe(dir / "office/c/g.dat").bits, 0660u) << mask;
    EXPECT_EQ(ModoDe(dir / "office/c/g.dat").grupo, office);
  }
  EXPECT_NE(MakeOwnFolder("/tmp/qx-no-group", "qx-no-such-group"), "");
}

TEST(OwnerAccess, WritingAFileOfOursTakesAwayWhatOthersHad) {
  TempDir dir;
  const std::string path = dir / "old.dat";
  WriteText(path, "x");
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  CFile reader;
  ASSERT_TRUE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
  EXPECT_EQ(ModoDe(path).bits, 0666u);
  CFile writer;
  ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone));
  EXPECT_EQ(ModoDe(path).bits, 0660u);
  // The store's rewrite keeps what the owner and the group read, never more.
  const std::string store = dir / "m.reg";
  Registry registry(store, "");
  ASSERT_EQ(registry.SetString("HKLM\\SOFTWARE\\X", "V", "1"), ERROR_SUCCESS);
  ASSERT_EQ(chmod(store.c_str(), 0666), 0);
  ASSERT_EQ(registry.SetString("HKLM\\SOFTWARE\\X", "V", "2"), ERROR_SUCCESS);
  EXPECT_EQ(ModoDe(store).bits, 0640u);
}

}  // namespace
}  // namespace qx::test
