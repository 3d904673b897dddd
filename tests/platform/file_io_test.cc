// CFile on one process: reading, writing, positions, open failures, Remove and Rename.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file.h"
#include "platform/path.h"
#include "test_support.h"
#include "test_support_file.h"

namespace {

using qx::test::CauseOf;
using qx::test::kModeC;
using qx::test::kModeG;
using qx::test::kModeL;
using qx::test::OpenCause;
using qx::test::ReadText;
using qx::test::TempDir;
using qx::test::WriteText;

TEST(FileIo, ReadsWritesAndMovesLikeTheFramework) {
  TempDir dir;
  std::string path = dir / "CNLC0124.DAT";
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kModeC));
  EXPECT_EQ(file.GetFileName(), "CNLC0124.DAT");
  EXPECT_EQ(file.GetFilePath(), path);
  char data[100];
  for (int i = 0; i < 100; ++i) data[i] = static_cast<char>(i);
  file.Write(data, 100);
  EXPECT_EQ(file.GetPosition(), 100u);
  EXPECT_EQ(file.GetLength(), 100u);

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
  EXPECT_EQ(file.GetLength(), 50u);
  EXPECT_EQ(file.GetPosition(), 50u);
  file.Flush();
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadText(path).size(), 50u);
}

TEST(FileIo, OpenReportsCausesWithoutThrowing) {
  TempDir dir;
  WriteText(dir / "plain", "abc");
  CFile file;
  CFileException error;
  std::string missing = dir / "missing.dat";
  EXPECT_FALSE(file.Open(missing.c_str(), kModeG, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ENOENT);
  EXPECT_EQ(error.m_strFileName, missing);
  EXPECT_FALSE(file.Open(missing.c_str(), kModeL));  // no error record: still no throw

  EXPECT_EQ(OpenCause(dir / "plain/x.dat", kModeL), CFileException::badPath);
  EXPECT_EQ(OpenCause(dir / "no/x.dat", kModeC), CFileException::badPath);  // no folder
  EXPECT_EQ(OpenCause(dir / "no/x.dat", kModeG), CFileException::badPath);
  EXPECT_EQ(OpenCause(dir.path(), kModeL), CFileException::accessDenied);
  EXPECT_EQ(OpenCause("", kModeL), CFileException::badPath);
  EXPECT_EQ(OpenCause(dir / "plain", 0x0003), CFileException::genericException);
  EXPECT_EQ(OpenCause(dir / "plain", 0x0050), CFileException::genericException);

  ASSERT_TRUE(file.Open((dir / "plain").c_str(), kModeL));
  EXPECT_FALSE(file.Open((dir / "plain").c_str(), kModeL, &error));  // already open
  EXPECT_EQ(error.m_cause, CFileException::genericException);
}

TEST(FileIo, OperationsThatMayNotRunThrow) {
  TempDir dir;
  WriteText(dir / "a.dat", "abc");
  CFile file;
  char byte;
  EXPECT_EQ(CauseOf([&] { file.Read(&byte, 1); }), CFileException::invalidFile);
  EXPECT_EQ(CauseOf([&] { file.GetLength(); }), CFileException::invalidFile);
  EXPECT_EQ(CauseOf([&] { file.Seek(0, CFile::begin); }), CFileException::invalidFile);
  EXPECT_EQ(CauseOf([&] { file.Close(); }), CFileException::none);
  ASSERT_TRUE(file.Open((dir / "a.dat").c_str(), kModeL));
  EXPECT_EQ(CauseOf([&] { file.Write("x", 1); }), CFileException::accessDenied);
  EXPECT_EQ(CauseOf([&] { file.SetLength(0); }), CFileException::accessDenied);
  EXPECT_EQ(ReadText(dir / "a.dat"), "abc");
  file.Close();
  ASSERT_TRUE(file.Open((dir / "a.dat").c_str(), CFile::modeWrite | CFile::shareDenyNone));
  EXPECT_EQ(CauseOf([&] { file.Read(&byte, 1); }), CFileException::accessDenied);
  try {
    file.SetFilePath(nullptr);
    ADD_FAILURE();
  } catch (CInvalidArgException* e) {
    e->Delete();
  }
}

TEST(FileIo, CreateTruncatesUnlessNoTruncate) {
  TempDir dir;
  std::string path = dir / "f.dat";
  WriteText(path, "0123456789");
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), kModeC));
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("abcde", 5);
  }  // the destructor closes
  CFile keep;
  ASSERT_TRUE(keep.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | kModeL));
  EXPECT_EQ(keep.GetLength(), 5u);
  CFile made;
  std::string fresh = dir / "fresh.dat";
  ASSERT_TRUE(made.Open(fresh.c_str(), CFile::modeCreate | CFile::modeNoTruncate | kModeG));
  EXPECT_EQ(made.GetLength(), 0u);
}

TEST(FileIo, ReadOnlyFileRefusesWritingAlsoForRoot) {
  TempDir dir;
  std::string path = dir / "ro.dat";
  WriteText(path, "keep");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(CFile::IsReadOnly(path.c_str()));
  EXPECT_EQ(OpenCause(path, kModeG), CFileException::accessDenied);
  EXPECT_EQ(OpenCause(path, kModeC), CFileException::accessDenied);
  EXPECT_EQ(OpenCause(path, CFile::modeWrite | CFile::shareDenyNone), CFileException::accessDenied);
  EXPECT_EQ(OpenCause(path, kModeL), CFileException::none);
  EXPECT_EQ(CauseOf([&] { CFile::Remove(path.c_str()); }), CFileException::accessDenied);
  EXPECT_EQ(ReadText(path), "keep");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_FALSE(CFile::IsReadOnly(path.c_str()));
  EXPECT_FALSE(CFile::IsReadOnly((dir / "missing").c_str()));
}

TEST(FileIo, RemoveAndRenameRespectOpensAndExistingNames) {
  TempDir dir;
  std::string a = dir / "a.dat", b = dir / "b.dat";
  WriteText(a, "A");
  WriteText(b, "B");
  EXPECT_EQ(CauseOf([&] { CFile::Rename(a.c_str(), b.c_str()); }), CFileException::accessDenied);
  EXPECT_EQ(ReadText(b), "B");
  {
    CFile held;
    ASSERT_TRUE(held.Open(a.c_str(), kModeL));
    EXPECT_EQ(CauseOf([&] { CFile::Remove(a.c_str()); }), CFileException::sharingViolation);
    std::string c = dir / "c.dat";
    EXPECT_EQ(CauseOf([&] { CFile::Rename(a.c_str(), c.c_str()); }),
              CFileException::sharingViolation);
  }
  std::string upper = dir / "A.DAT";
  CFile::Rename(a.c_str(), upper.c_str());  // a new spelling of the same name is allowed
  EXPECT_EQ(ReadText(upper), "A");
  CFile::Remove(b.c_str());
  EXPECT_EQ(CauseOf([&] { CFile::Remove(b.c_str()); }), CFileException::fileNotFound);
  EXPECT_EQ(CauseOf([&] { CFile::Rename(b.c_str(), a.c_str()); }), CFileException::fileNotFound);
}

TEST(FileIo, RenameReplacingSwapsInOneStepUnlessTheTargetIsHeld) {
  TempDir dir;
  std::string temp = dir / "CNFORIMP.TMP", file = dir / "CNFORIMP.DAT";
  WriteText(temp, "new");
  WriteText(file, "old");
  {
    CFile held;
    ASSERT_TRUE(held.Open(file.c_str(), kModeL));
    EXPECT_EQ(CauseOf([&] { CFile::RenameReplacing(temp.c_str(), file.c_str()); }),
              CFileException::sharingViolation);
    EXPECT_EQ(ReadText(file), "old");
  }
  CFile::RenameReplacing(temp.c_str(), (dir / "cnforimp.dat").c_str());  // case-insensitive
  EXPECT_EQ(ReadText(file), "new");
  EXPECT_EQ(CauseOf([&] { CFile::RenameReplacing(temp.c_str(), file.c_str()); }),
            CFileException::fileNotFound);
  CFile::RenameReplacing(file.c_str(), temp.c_str());  // also to a name that does not exist
  EXPECT_EQ(ReadText(temp), "new");
}

TEST(FilePath, SplitsAtEitherSeparatorAndJoinsWithOne) {
  EXPECT_EQ(qx::LastSeparator("a/b\\c"), 3u);
  EXPECT_EQ(qx::LastSeparator("a\\b/c"), 3u);
  EXPECT_EQ(qx::LastSeparator("abc"), std::string_view::npos);
  EXPECT_EQ(qx::JoinPath("dir", "XXMARCA7.dat"), "dir/XXMARCA7.dat");
  EXPECT_EQ(qx::JoinPath("dir/", "XXMARCA7.dat"), "dir/XXMARCA7.dat");
  EXPECT_EQ(qx::JoinPath("dir\\", "XXMARCA7.dat"), "dir\\XXMARCA7.dat");
  EXPECT_EQ(qx::JoinPath("", "XXMARCA7.dat"), "XXMARCA7.dat");
  EXPECT_EQ(qx::ToPlatformPath("QX\\CN\\E1\\"), "QX/CN/E1/");
  CFile file;
  file.SetFilePath("C\\DF\\QXCTLARQ.DAT");
  EXPECT_EQ(file.GetFileName(), "QXCTLARQ.DAT");
}

}  // namespace
