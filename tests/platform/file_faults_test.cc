// The injected file failures of tests.
#include "platform/file_faults.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file.h"
#include "test_support.h"
#include "test_support_file.h"

namespace {

using qx::FileFaults;
using qx::FileFaultsGuard;
using qx::FileOp;
using qx::test::CauseOf;
using qx::test::kModeC;
using qx::test::kModeL;
using qx::test::OpenCause;
using qx::test::ReadText;
using qx::test::TempDir;

TEST(FileFaults, NthCallFailsForCountCalls) {
  TempDir dir;
  FileFaultsGuard guard;
  FileFaults::Arm(FileOp::Write, 2, CFileException::diskFull, "", 2);
  CFile file;
  ASSERT_TRUE(file.Open((dir / "f.dat").c_str(), kModeC));
  EXPECT_EQ(CauseOf([&] { file.Write("1", 1); }), CFileException::none);
  try {
    file.Write("2", 1);
    ADD_FAILURE();
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::diskFull);
    EXPECT_EQ(e->m_lOsError, ENOSPC);
    EXPECT_EQ(e->m_strFileName, dir / "f.dat");
    e->Delete();
  }
  EXPECT_EQ(CauseOf([&] { file.Write("3", 1); }), CFileException::diskFull);
  EXPECT_EQ(CauseOf([&] { file.Write("4", 1); }), CFileException::none);
  file.Close();
  EXPECT_EQ(ReadText(dir / "f.dat"), "14");  // failed writes write nothing
}

TEST(FileFaults, OpenFailsWithoutThrowingAndPathsFilter) {
  TempDir dir;
  FileFaultsGuard guard;
  FileFaults::Arm(FileOp::Open, 1, CFileException::sharingViolation, "cnlc", 3);
  EXPECT_EQ(OpenCause(dir / "other.dat", kModeC), CFileException::none);
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open((dir / "CNLC0124.DAT").c_str(), kModeC, &error));
  EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
  EXPECT_EQ(error.m_lOsError, EBUSY);
  EXPECT_EQ(OpenCause(dir / "CNLC0124.DAT", kModeC), CFileException::sharingViolation);
  EXPECT_EQ(OpenCause(dir / "CNLC0124.DAT", kModeC), CFileException::sharingViolation);
  EXPECT_EQ(OpenCause(dir / "CNLC0124.DAT", kModeC), CFileException::none);
}

TEST(FileFaults, AnyOperationAndTheNamedOnes) {
  TempDir dir;
  std::string path = dir / "a.dat";
  FileFaultsGuard guard;
  FileFaults::Arm(FileOp::Any, 3, CFileException::hardIO, "A.DAT");
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kModeC));                                     // 1
  file.Write("x", 1);                                                               // 2
  EXPECT_EQ(CauseOf([&] { file.Seek(0, CFile::begin); }), CFileException::hardIO);  // 3
  EXPECT_EQ(file.GetPosition(), 1u);
  FileFaults::Clear();
  FileFaults::Arm(FileOp::Close, 1, CFileException::hardIO);
  EXPECT_EQ(CauseOf([&] { file.Close(); }), CFileException::hardIO);
  EXPECT_FALSE(file.IsOpen());  // a failing close still closes
  EXPECT_EQ(OpenCause(path, CFile::modeReadWrite | CFile::shareExclusive), CFileException::none);
  FileFaults::Arm(FileOp::Remove, 1, CFileException::accessDenied);
  EXPECT_EQ(CauseOf([&] { CFile::Remove(path.c_str()); }), CFileException::accessDenied);
  EXPECT_EQ(ReadText(path), "x");
  FileFaults::Arm(FileOp::Rename, 1, CFileException::sharingViolation);
  std::string other = dir / "b.dat";
  EXPECT_EQ(CauseOf([&] { CFile::Rename(path.c_str(), other.c_str()); }),
            CFileException::sharingViolation);
  EXPECT_EQ(ReadText(path), "x");
}

// Count the calls of one scenario, then fail each write in turn.
TEST(FileFaults, CountersDriveASweep) {
  TempDir dir;
  FileFaultsGuard guard;
  auto scenario = [&]() -> int {
    CFile file;
    if (!file.Open((dir / "sweep.dat").c_str(), kModeC)) return CFileException::genericException;
    int failed = CauseOf([&] {
      for (int i = 0; i < 3; ++i) file.Write("abc", 3);
      file.GetLength();
    });
    CFile reader;
    if (reader.Open((dir / "elsewhere.dat").c_str(), kModeC)) reader.Close();
    return failed;
  };
  FileFaults::Count("sweep");
  ASSERT_EQ(scenario(), CFileException::none);
  EXPECT_EQ(FileFaults::Calls(FileOp::Open), 1u);
  EXPECT_EQ(FileFaults::Calls(FileOp::Write), 3u);
  EXPECT_EQ(FileFaults::Calls(FileOp::GetLength), 1u);
  EXPECT_EQ(FileFaults::Calls(FileOp::Read), 0u);
  EXPECT_EQ(FileFaults::Calls(FileOp::Any), 5u);  // the destructor closes without a call
  uint64_t writes = FileFaults::Calls(FileOp::Write);
  for (uint64_t n = 1; n <= writes; ++n) {
    FileFaults::Clear();
    FileFaults::Arm(FileOp::Write, static_cast<int>(n), CFileException::diskFull, "sweep");
    EXPECT_EQ(scenario(), CFileException::diskFull) << "write " << n;
    EXPECT_EQ(ReadText(dir / "sweep.dat").size(), 3 * (n - 1));
  }
}

TEST(FileFaults, GuardClearsThePlan) {
  TempDir dir;
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Open, 1, CFileException::hardIO, "", 1000);
    FileFaults::Count();
    EXPECT_EQ(OpenCause(dir / "f.dat", kModeC), CFileException::hardIO);
  }
  EXPECT_EQ(FileFaults::Calls(FileOp::Any), 0u);
  EXPECT_EQ(OpenCause(dir / "f.dat", kModeC), CFileException::none);
  EXPECT_EQ(OpenCause(dir / "f.dat", kModeL), CFileException::none);
}

}  // namespace
