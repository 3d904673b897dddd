// CFile: errno causes, reading and writing, open failures, Remove and Rename, names found
// without regard to case, the injected failures of tests, share modes between processes and
// between objects of one process, and the owner's access to what the system creates.
#include "platform/file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/file_faults.h"
#include "platform/owner_access.h"
#include "platform/path.h"
#include "platform/path_case.h"
#include "platform/registry.h"
#include "test_support.h"

namespace qx::test {
namespace {

// The flags of the record files' mode letters, and of a mark.
constexpr unsigned kModeC = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr unsigned kModeG = CFile::modeReadWrite | CFile::shareDenyWrite | CFile::modeNoTruncate;
constexpr unsigned kModeL = CFile::modeRead | CFile::shareDenyNone | CFile::modeNoTruncate;
constexpr unsigned kMark = CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive;
constexpr int kViolation = CFileException::sharingViolation;
constexpr int kNone = CFileException::none;
constexpr int kDenied = CFileException::accessDenied;
constexpr int kNotFound = CFileException::fileNotFound;

// The cause, errno and file name of the CFileException that action throws; none when it
// throws nothing.
template <typename Action>
std::tuple<int, long, std::string> Thrown(Action action) {
  try {
    action();
  } catch (CFileException* e) {
    std::tuple<int, long, std::string> thrown{e->m_cause, e->m_lOsError, e->m_strFileName};
    e->Delete();
    return thrown;
  }
  return {CFileException::none, 0, ""};
}

template <typename Action>
int CauseOf(Action action) {
  return std::get<0>(Thrown(action));
}

// The cause with which a fresh open of path fails; none when it succeeds (it is closed again).
int OpenCause(const std::string& path, unsigned flags) {
  CFile file;
  CFileException error;
  return file.Open(path.c_str(), flags, &error) ? CFileException::none : error.m_cause;
}

// The table itself is the errno list; what matters is that each way finds its row.
TEST(FileErrnoTable, ErrnoMapsToItsCauseAndBack) {
  const std::pair<long, int> causes[] = {{EFBIG, CFileException::diskFull},
                                         {-1, CFileException::genericException},
                                         {123456, CFileException::genericException}};
  for (const auto& [osError, cause] : causes) {
    EXPECT_EQ(CFileException::OsErrorToException(osError), cause) << "errno " << osError;
  }
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::endOfFile), -1);
  for (int cause = kNone; cause <= CFileException::endOfFile; ++cause) {
    long osError = CFileException::ExceptionToOsError(cause);
    if (osError != -1) {
      EXPECT_EQ(CFileException::OsErrorToException(osError), cause);
    }
  }
}

TEST(FileIo, ReadsWritesAndMovesLikeTheFramework) {
  TempDir dir;
  std::string path = dir / "CNLC0124.DAT";
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kModeC));
  EXPECT_EQ(file.GetFileName(), "CNLC0124.DAT");
  char data[100];
  for (int i = 0; i < 100; ++i) data[i] = static_cast<char>(i);
  file.Write(data, 100);
  EXPECT_EQ(file.GetPosition(), 100u);

  char in[60];
  file.SeekToBegin();
  EXPECT_EQ(file.Read(in, 60), 60u);
  EXPECT_EQ(file.Read(in, 60), 40u);  // short at the end, no failure
  EXPECT_EQ(in[0], 60);
  EXPECT_EQ(file.Read(in, 60), 0u);
  EXPECT_EQ(file.Seek(-10, CFile::end), 90u);
  EXPECT_EQ(file.Seek(5, CFile::current), 95u);
  EXPECT_EQ(CauseOf([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
  EXPECT_EQ(file.GetPosition(), 95u);

  file.Seek(200, CFile::begin);  // past the end: a write fills the gap with zeros
  file.Write("x", 1);
  EXPECT_EQ(file.GetLength(), 201u);
  file.Seek(150, CFile::begin);
  ASSERT_EQ(file.Read(in, 1), 1u);
  EXPECT_EQ(in[0], 0);

  file.SetLength(50);
  EXPECT_EQ(file.GetPosition(), 50u);
  file.Close();
  EXPECT_EQ(ReadText(path).size(), 50u);
  EXPECT_EQ(LastSeparator("a\\b/c"), 3u);
  EXPECT_EQ(JoinPath("dir/", "XXMARCA7.dat"), "dir/XXMARCA7.dat");
  EXPECT_EQ(JoinPath("dir\\", "XXMARCA7.dat"), "dir\\XXMARCA7.dat");
  EXPECT_EQ(JoinPath("", "XXMARCA7.dat"), "XXMARCA7.dat");
  EXPECT_EQ(ToPlatformPath("QX\\CN\\E1\\"), "QX/CN/E1/");
}

TEST(FileIo, OpenReportsCausesWithoutThrowingOtherCallsThrowAndRemoveAndRenameRespectOpens) {
  TempDir dir;
  WriteText(dir / "plain", "abc");
  CFile file;
  CFileException error;
  std::string missing = dir / "missing.dat";
  EXPECT_FALSE(file.Open(missing.c_str(), kModeG, &error));
  EXPECT_EQ(error.m_cause, kNotFound);
  EXPECT_EQ(error.m_lOsError, ENOENT);
  EXPECT_EQ(error.m_strFileName, missing);
  EXPECT_FALSE(file.Open(missing.c_str(), kModeL));  // no error record: still no throw
  EXPECT_EQ(OpenCause(dir / "plain/x.dat", kModeL), CFileException::badPath);
  EXPECT_EQ(OpenCause(dir / "no/x.dat", kModeC), CFileException::badPath);  // no folder
  EXPECT_EQ(OpenCause(dir.path(), kModeL), kDenied);
  EXPECT_EQ(OpenCause("", kModeL), CFileException::badPath);
  EXPECT_EQ(OpenCause(dir / "plain", 0x0003), CFileException::genericException);
  EXPECT_EQ(OpenCause(dir / "plain", 0x0050), CFileException::genericException);

  char byte;
  EXPECT_EQ(CauseOf([&] { file.Read(&byte, 1); }), CFileException::invalidFile);
  EXPECT_EQ(CauseOf([&] { file.Seek(0, CFile::begin); }), CFileException::invalidFile);
  EXPECT_EQ(CauseOf([&] { file.Close(); }), kNone);
  ASSERT_TRUE(file.Open((dir / "plain").c_str(), kModeL));
  EXPECT_FALSE(file.Open((dir / "plain").c_str(), kModeL, &error));  // already open
  EXPECT_EQ(error.m_cause, CFileException::genericException);
  EXPECT_EQ(CauseOf([&] { file.Write("x", 1); }), kDenied);
  EXPECT_EQ(CauseOf([&] { file.SetLength(0); }), kDenied);
  EXPECT_EQ(ReadText(dir / "plain"), "abc");
  file.Close();
  ASSERT_TRUE(file.Open((dir / "plain").c_str(), CFile::modeWrite | CFile::shareDenyNone));
  EXPECT_EQ(CauseOf([&] { file.Read(&byte, 1); }), kDenied);
  try {
    file.SetFilePath(nullptr);
    ADD_FAILURE();
  } catch (CInvalidArgException* e) {
    e->Delete();
  }

  // Create keeps the content when told not to truncate; read-only holds even for root.
  std::string path = dir / "f.dat";
  WriteText(path, "abcde");
  CFile keep;
  ASSERT_TRUE(keep.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | kModeL));
  EXPECT_EQ(keep.GetLength(), 5u);
  CFile made;
  ASSERT_TRUE(
      made.Open((dir / "fresh.dat").c_str(), CFile::modeCreate | CFile::modeNoTruncate | kModeG));
  EXPECT_EQ(made.GetLength(), 0u);

  std::string readOnly = dir / "ro.dat";
  WriteText(readOnly, "keep");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  EXPECT_TRUE(CFile::IsReadOnly(readOnly.c_str()));
  for (unsigned flags : {kModeG, kModeC, CFile::modeWrite | CFile::shareDenyNone}) {
    EXPECT_EQ(OpenCause(readOnly, flags), kDenied) << flags;
  }
  EXPECT_EQ(OpenCause(readOnly, kModeL), kNone);
  EXPECT_EQ(CauseOf([&] { CFile::Remove(readOnly.c_str()); }), kDenied);
  EXPECT_EQ(ReadText(readOnly), "keep");
  EXPECT_FALSE(CFile::IsReadOnly((dir / "missing").c_str()));

  // Remove and Rename respect opens and existing names.
  std::string a = dir / "a.dat", b = dir / "b.dat", c = dir / "c.dat";
  WriteText(a, "A");
  WriteText(b, "B");
  EXPECT_EQ(CauseOf([&] { CFile::Rename(a.c_str(), b.c_str()); }), kDenied);
  EXPECT_EQ(ReadText(b), "B");
  {
    CFile held;
    ASSERT_TRUE(held.Open(a.c_str(), kModeL));
    EXPECT_EQ(CauseOf([&] { CFile::Remove(a.c_str()); }), kViolation);
    EXPECT_EQ(CauseOf([&] { CFile::Rename(a.c_str(), c.c_str()); }), kViolation);
    EXPECT_EQ(CauseOf([&] { CFile::RenameReplacing(b.c_str(), a.c_str()); }), kViolation);
    EXPECT_EQ(ReadText(a), "A");
  }
  std::string upper = dir / "A.DAT";
  CFile::Rename(a.c_str(), upper.c_str());  // a new spelling of the same name is allowed
  EXPECT_EQ(ReadText(upper), "A");
  CFile::RenameReplacing(b.c_str(), a.c_str());  // case-insensitive: replaces A.DAT
  EXPECT_EQ(ReadText(upper), "B");
  EXPECT_EQ(CauseOf([&] { CFile::RenameReplacing(b.c_str(), a.c_str()); }), kNotFound);
  CFile::RenameReplacing(upper.c_str(), c.c_str());  // also to a name that does not exist
  EXPECT_EQ(ReadText(c), "B");
  CFile::Remove(c.c_str());
  EXPECT_EQ(CauseOf([&] { CFile::Remove(c.c_str()); }), kNotFound);
  EXPECT_EQ(CauseOf([&] { CFile::Rename(c.c_str(), a.c_str()); }), kNotFound);
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string Content(const std::string& path) {
  CFile file;
  if (!file.Open(path.c_str(), kModeL)) return "<missing>";
  char buffer[64];
  return std::string(buffer, file.Read(buffer, sizeof buffer));
}

TEST(FileCase, ExactSpellingFirstThenAnyCaseAndCreateKeepsTheSpelling) {
  TempDir dir;
  WriteText(dir / "QXCTLARQ.DAT", "upper");
  EXPECT_EQ(OpenCause(dir / "QXCTLARQ.dat", kModeG), kNone);
  EXPECT_EQ(Content(dir / "qxctlarq.DaT"), "upper");
  CFile file;
  ASSERT_TRUE(file.Open((dir / "qxctlarq.dat").c_str(), kModeC));
  EXPECT_EQ(file.GetFileName(), "QXCTLARQ.DAT");
  file.Write("new", 3);
  file.Close();
  EXPECT_EQ(OpenCause(dir / "New.Dat", kModeC), kNone);
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"QXCTLARQ.DAT", "New.Dat"}));
  EXPECT_EQ(ReadText(dir / "QXCTLARQ.DAT"), "new");
  WriteText(dir / "QXCTLARQ.dat", "lower");  // two spellings on disk: each finds its own
  EXPECT_EQ(Content(dir / "QXCTLARQ.dat"), "lower");
  EXPECT_EQ(Content(dir / "QXCTLARQ.DAT"), "new");

  // Folder components and accented letters resolve too.
  ASSERT_TRUE(std::filesystem::create_directories(dir / "Empresa/CN"));
  EXPECT_EQ(OpenCause(dir / "EMPRESA/cn/Lanc.DAT", kModeC), kNone);
  EXPECT_EQ(Names(dir / "Empresa/CN"), std::set<std::string>{"Lanc.DAT"});
  CFile::Rename((dir / "EMPRESA/CN/lanc.dat").c_str(), (dir / "empresa/cn/Other.dat").c_str());
  EXPECT_EQ(Names(dir / "Empresa/CN"), std::set<std::string>{"Other.dat"});
  CFile::Remove((dir / "empresa/CN/OTHER.DAT").c_str());
  EXPECT_TRUE(Names(dir / "Empresa/CN").empty());

  EXPECT_TRUE(SameNameIgnoringCase("A\xc3\x87\xc3\x83O.DAT", "a\xc3\xa7\xc3\xa3o.dat"));
  EXPECT_TRUE(SameNameIgnoringCase("A\xc7\xc3O.DAT", "a\xc3\xa7\xc3\xa3o.dat"));  // 1252
  EXPECT_FALSE(SameNameIgnoringCase("\xc3\x8a", "\xc3\x9a"));  // Ê and Ú stay apart
  EXPECT_FALSE(SameNameIgnoringCase("ab", "abc"));
  WriteText(dir / "A\xc3\x87\xc3\x83O.DAT", "utf8");
  EXPECT_EQ(Content(dir / "a\xe7\xe3o.dat"), "utf8");
}

// The nth call fails for count calls, filtered by path, of any operation or the named ones;
// then the calls of one scenario are counted and each write fails in turn; the guard clears
// the plan.
TEST(FileFaults, NthCallsFailAndCountersDriveASweepUntilTheGuardClearsThePlan) {
  TempDir dir;
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Write, 2, CFileException::diskFull, "", 2);
    CFile file;
    ASSERT_TRUE(file.Open((dir / "f.dat").c_str(), kModeC));
    file.Write("1", 1);
    EXPECT_EQ(Thrown([&] { file.Write("2", 1); }),
              std::tuple(CFileException::diskFull, long{ENOSPC}, dir / "f.dat"));
    EXPECT_EQ(CauseOf([&] { file.Write("3", 1); }), CFileException::diskFull);
    EXPECT_EQ(CauseOf([&] { file.Write("4", 1); }), kNone);
    file.Close();
    EXPECT_EQ(ReadText(dir / "f.dat"), "14");  // failed writes write nothing

    FileFaults::Arm(FileOp::Open, 1, CFileException::sharingViolation, "cnlc", 2);
    EXPECT_EQ(OpenCause(dir / "other.dat", kModeC), kNone);
    for (int cause : {kViolation, kViolation, kNone}) {
      EXPECT_EQ(OpenCause(dir / "CNLC0124.DAT", kModeC), cause);
    }

    // Any operation, and the named ones.
    FileFaults::Clear();
    std::string path = dir / "a.dat";
    FileFaults::Arm(FileOp::Any, 3, CFileException::hardIO, "A.DAT");
    ASSERT_TRUE(file.Open(path.c_str(), kModeC));                                     // 1
    file.Write("x", 1);                                                               // 2
    EXPECT_EQ(CauseOf([&] { file.Seek(0, CFile::begin); }), CFileException::hardIO);  // 3
    EXPECT_EQ(file.GetPosition(), 1u);
    FileFaults::Clear();
    FileFaults::Arm(FileOp::Close, 1, CFileException::hardIO);
    EXPECT_EQ(CauseOf([&] { file.Close(); }), CFileException::hardIO);
    EXPECT_FALSE(file.IsOpen());  // a failing close still closes
    EXPECT_EQ(OpenCause(path, CFile::modeReadWrite | CFile::shareExclusive), kNone);
    FileFaults::Arm(FileOp::Remove, 1, kDenied);
    EXPECT_EQ(CauseOf([&] { CFile::Remove(path.c_str()); }), kDenied);
    FileFaults::Arm(FileOp::Rename, 1, kViolation);
    EXPECT_EQ(CauseOf([&] { CFile::Rename(path.c_str(), (dir / "b.dat").c_str()); }), kViolation);
    EXPECT_EQ(ReadText(path), "x");
    FileFaults::Clear();
    auto scenario = [&]() -> int {
      CFile swept;
      if (!swept.Open((dir / "sweep.dat").c_str(), kModeC)) return CFileException::genericException;
      int failed = CauseOf([&] {
        for (int i = 0; i < 3; ++i) swept.Write("abc", 3);
        swept.GetLength();
      });
      CFile reader;
      if (reader.Open((dir / "elsewhere.dat").c_str(), kModeC)) reader.Close();
      return failed;
    };
    FileFaults::Count("sweep");
    ASSERT_EQ(scenario(), kNone);
    EXPECT_EQ(FileFaults::Calls(FileOp::Open), 1u);
    EXPECT_EQ(FileFaults::Calls(FileOp::Write), 3u);
    EXPECT_EQ(FileFaults::Calls(FileOp::Any), 5u);  // the destructor closes without a call
    for (uint64_t n = 1; n <= 3; ++n) {
      FileFaults::Clear();
      FileFaults::Arm(FileOp::Write, static_cast<int>(n), CFileException::diskFull, "sweep");
      EXPECT_EQ(scenario(), CFileException::diskFull) << "write " << n;
      EXPECT_EQ(ReadText(dir / "sweep.dat").size(), 3 * (n - 1));
    }
    FileFaults::Arm(FileOp::Open, 1, CFileException::hardIO, "", 1000);
    FileFaults::Count();
    EXPECT_EQ(OpenCause(dir / "f.dat", kModeC), CFileException::hardIO);
  }
  EXPECT_EQ(FileFaults::Calls(FileOp::Any), 0u);
  EXPECT_EQ(OpenCause(dir / "f.dat", kModeC), kNone);
}

// A holder in another process against the opens that come after it (the locks are the same
// within one process and across processes): the refused ones fail, a refused create truncates
// nothing, and the holder's death releases the file at once; then every pair of opens.
TEST(FileShare, AHolderInAnotherProcessAndEveryAccessAndSharePairWithinOne) {
  TempDir dir;
  const std::string path = dir / "CNLC0124.DAT";
  WriteText(path, "data");
  Child holder([&](Child& self) {  // holds the file until the parent sends a byte
    CFile file;
    if (!file.Open(path.c_str(), kModeG)) return 1;
    self.Send('o');
    self.Receive();
    return 0;
  });
  ASSERT_EQ(holder.Receive(), 'o');
  for (unsigned flags : {kModeG, kModeC, kMark}) {
    EXPECT_EQ(OpenCause(path, flags), kViolation) << std::hex << flags;
  }
  EXPECT_EQ(OpenCause(path, kModeL), kNone);
  EXPECT_EQ(ReadText(path), "data");
  holder.Kill();
  EXPECT_EQ(OpenCause(path, kMark), kNone);

  // Windows' rule within the process, checked for every pair of access and share: the second
  // open succeeds exactly when each open's access is allowed by the other's share.
  WriteText(path, "x");
  const unsigned accesses[] = {CFile::modeRead, CFile::modeWrite, CFile::modeReadWrite};
  const unsigned shares[] = {CFile::shareCompat, CFile::shareExclusive, CFile::shareDenyWrite,
                             CFile::shareDenyRead, CFile::shareDenyNone};
  auto allows = [](unsigned share, unsigned access) {
    bool reads = access != CFile::modeWrite, writes = access != CFile::modeRead;
    bool shareRead = share == CFile::shareDenyWrite || share == CFile::shareDenyNone;
    bool shareWrite = share == CFile::shareDenyRead || share == CFile::shareDenyNone;
    return (!reads || shareRead) && (!writes || shareWrite);
  };
  for (unsigned a1 : accesses) {
    for (unsigned s1 : shares) {
      CFile first;
      ASSERT_TRUE(first.Open(path.c_str(), a1 | s1));
      for (unsigned a2 : accesses) {
        for (unsigned s2 : shares) {
          bool expected = allows(s1, a2) && allows(s2, a1);
          EXPECT_EQ(OpenCause(path, a2 | s2), expected ? kNone : kViolation)
              << std::hex << (a1 | s1) << " then " << (a2 | s2);
        }
      }
    }
  }
  // Closing another open of the file keeps the first one's share mode; a refused create
  // truncates nothing.
  CFile first, reader;
  ASSERT_TRUE(first.Open(path.c_str(), kModeG));
  ASSERT_TRUE(reader.Open(path.c_str(), kModeL));
  reader.Close();
  for (unsigned flags : {kModeG, kModeC}) EXPECT_EQ(OpenCause(path, flags), kViolation) << flags;
  EXPECT_EQ(ReadText(path), "x");
}

// Puts the umask it was made with back when it goes.
struct UmaskRestored {
  mode_t old;
  ~UmaskRestored() { umask(old); }
};

// What the system creates is its owner's alone, or its office group's, whatever the umask:
// folders, files made through CFile, the registry store; and a file of ours opened for writing
// loses what its bits give other users.
TEST(OwnerAccess, PrivateOrTheOfficesWhateverTheUmaskAndWritingTakesAwayWhatOthersHad) {
  // Root may hand a folder to any group; anyone else to a group of their own.
  const gid_t office = geteuid() == 0 ? 65534 : getegid();
  const group* entry = getgrgid(office);
  ASSERT_NE(entry, nullptr);
  const std::string name = entry->gr_name;
  // The modes of what is made, whether it is the office group's, and its paths.
  const std::tuple<unsigned, bool, std::vector<std::string>> made[] = {
      {0700, false, {"a", "a/b"}},
      {0600, false, {"a/b/f.dat", "a/registry.reg"}},
      {02770, true, {"office", "office/c", "elsewhere", "elsewhere/d"}},
      {0660, true, {"office/c/g.dat"}}};
  for (const mode_t mask : {0000, 0022, 0077, 0277}) {
    TempDir dir;  // before the umask, which would take from it too
    const UmaskRestored umaskForTheCase{umask(mask)};
    ASSERT_EQ(MakeFolders(dir / "a/b"), 0);
    EXPECT_EQ(OpenCause(dir / "a/b/f.dat", kModeC), kNone);
    Registry(dir / "a/registry.reg", "").SetString("HKLM\\SOFTWARE\\X", "V", "1");
    EXPECT_FALSE(IsOfficeFolder(dir / "a")) << mask;
    ASSERT_EQ(MakeOwnFolder(dir / "office", name), "") << mask;
    ASSERT_EQ(MakeFolders(dir / "office/c"), 0);
    ASSERT_EQ(MakeFolders(dir / "elsewhere/d", dir / "office"), 0);  // made like the office's
    EXPECT_EQ(OpenCause(dir / "office/c/g.dat", kModeC), kNone);
    for (const auto& [mode, ofTheOffice, paths] : made) {
      for (const std::string& path : paths) {
        struct stat status {};
        ASSERT_EQ(stat((dir / path).c_str(), &status), 0) << path;
        EXPECT_EQ(status.st_mode & 07777, mode) << path << " " << mask;
        EXPECT_TRUE(!ofTheOffice || status.st_gid == office) << path;
      }
    }
  }
  EXPECT_NE(MakeOwnFolder("/tmp/qx-no-group", "qx-no-such-group"), "");

  // Writing a file of ours takes away what others had.
  TempDir dir;
  const std::string path = dir / "old.dat";
  WriteText(path, "x");
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  CFile reader;
  ASSERT_TRUE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
  EXPECT_EQ(ModeOf(path), 0666u);
  CFile writer;
  ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone));
  EXPECT_EQ(ModeOf(path), 0660u);
  // The store's rewrite keeps what the owner and the group read, never more.
  const std::string store = dir / "m.reg";
  Registry registry(store, "");
  ASSERT_EQ(registry.SetString("HKLM\\SOFTWARE\\X", "V", "1"), ERROR_SUCCESS);
  ASSERT_EQ(chmod(store.c_str(), 0666), 0);
  ASSERT_EQ(registry.SetString("HKLM\\SOFTWARE\\X", "V", "2"), ERROR_SUCCESS);
  EXPECT_EQ(ModeOf(store), 0640u);
}

}  // namespace
}  // namespace qx::test
