// Share modes between processes and between objects of one process.
#include <gtest/gtest.h>

#include "platform/file.h"
#include "test_support.h"
#include "test_support_file.h"

namespace {

using namespace qx::test;

constexpr int kViolation = CFileException::sharingViolation;
constexpr int kNone = CFileException::none;

// A child that opens path with flags, reports 'o' (or 'f' on failure) and holds the file until
// the parent sends a byte.
int HoldOpen(Child& self, const std::string& path, unsigned flags) {
  CFile file;
  if (!file.Open(path.c_str(), flags)) {
    self.Send('f');
    return 1;
  }
  self.Send('o');
  self.Receive();
  return 0;
}

TEST(FileShare, ModeLettersAcrossProcesses) {
  TempDir dir;
  std::string path = dir / "CNLC0124.DAT";
  WriteText(path, "data");
  {
    Child g([&](Child& self) { return HoldOpen(self, path, kModeG); });
    ASSERT_EQ(g.Receive(), 'o');
    EXPECT_EQ(OpenCause(path, kModeL), kNone);
    EXPECT_EQ(OpenCause(path, kModeG), kViolation);
    EXPECT_EQ(OpenCause(path, kModeC), kViolation);
    EXPECT_EQ(ReadText(path), "data");  // the failed create truncated nothing
    EXPECT_EQ(OpenCause(path, CFile::modeRead | CFile::shareDenyWrite), kViolation);
    EXPECT_EQ(OpenCause(path, kMark), kViolation);
    g.Send('q');
    EXPECT_EQ(g.Wait(), 0);
  }
  Child l([&](Child& self) { return HoldOpen(self, path, kModeL); });
  ASSERT_EQ(l.Receive(), 'o');
  CFile g;
  EXPECT_TRUE(g.Open(path.c_str(), kModeG));  // 'L' then 'G' coexist too
  EXPECT_EQ(OpenCause(path, kModeL), kNone);
  l.Send('q');
  EXPECT_EQ(l.Wait(), 0);
}

TEST(FileShare, ExclusiveOpenBlocksEveryOtherOpenUntilItsHolderDies) {
  TempDir dir;
  std::string mark = dir / "XXMARCA7.dat";
  Child holder([&](Child& self) { return HoldOpen(self, mark, kMark); });
  ASSERT_EQ(holder.Receive(), 'o');
  for (unsigned flags : {kModeL, kModeG, kModeC, kMark, CFile::modeRead | CFile::shareDenyNone}) {
    EXPECT_EQ(OpenCause(mark, flags), kViolation) << std::hex << flags;
  }
  Child other([&](Child& self) { return HoldOpen(self, mark, kMark); });
  EXPECT_EQ(other.Receive(), 'f');
  EXPECT_EQ(other.Wait(), 1);
  holder.Kill();  // a process that dies releases its opens at once
  EXPECT_EQ(OpenCause(mark, kMark), kNone);
}

TEST(FileShare, ObjectsOfOneProcessObeyTheSameRules) {
  TempDir dir;
  std::string path = dir / "CNLG0124.DAT";
  WriteText(path, "data");
  CFile first, reader, other;
  ASSERT_TRUE(first.Open(path.c_str(), kModeG));
  EXPECT_FALSE(other.Open(path.c_str(), kModeG));
  EXPECT_FALSE(other.Open(path.c_str(), kModeC));
  EXPECT_EQ(ReadText(path), "data");
  ASSERT_TRUE(reader.Open(path.c_str(), kModeL));
  reader.Close();  // closing another open of the file keeps first's share mode
  EXPECT_FALSE(other.Open(path.c_str(), kModeG));
  first.Close();
  EXPECT_TRUE(other.Open(path.c_str(), kModeG));
}

// Windows' rule, checked for every pair of access and share: the second open succeeds exactly
// when each open's access is allowed by the other's share.
TEST(FileShare, EveryAccessAndSharePairFollowsTheRule) {
  TempDir dir;
  std::string path = dir / "f.dat";
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
}

}  // namespace
