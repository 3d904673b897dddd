// File names found without regard to case.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "platform/file.h"
#include "platform/path_case.h"
#include "test_support.h"
#include "test_support_file.h"

namespace {

using qx::test::CauseOf;
using qx::test::kModeC;
using qx::test::kModeG;
using qx::test::kModeL;
using qx::test::ReadText;
using qx::test::TempDir;
using qx::test::WriteText;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string Content(const std::string& path, unsigned flags) {
  CFile file;
  if (!file.Open(path.c_str(), flags)) return "<missing>";
  char buffer[64];
  return std::string(buffer, file.Read(buffer, sizeof buffer));
}

TEST(FileCase, ExactSpellingFirstThenAnyCase) {
  TempDir dir;
  WriteText(dir / "QXCTLARQ.DAT", "upper");
  EXPECT_EQ(Content(dir / "QXCTLARQ.dat", kModeG), "upper");
  EXPECT_EQ(Content(dir / "qxctlarq.DaT", kModeL), "upper");
  CFile file;
  ASSERT_TRUE(file.Open((dir / "qxctlarq.dat").c_str(), kModeL));
  EXPECT_EQ(file.GetFileName(), "QXCTLARQ.DAT");
  file.Close();
  WriteText(dir / "QXCTLARQ.dat", "lower");  // two spellings on disk: each finds its own
  EXPECT_EQ(Content(dir / "QXCTLARQ.dat", kModeL), "lower");
  EXPECT_EQ(Content(dir / "QXCTLARQ.DAT", kModeL), "upper");
  EXPECT_EQ(Content(dir / "nothere.dat", kModeL), "<missing>");
}

TEST(FileCase, CreateKeepsTheExistingSpelling) {
  TempDir dir;
  WriteText(dir / "CNLC0124.DAT", "old");
  CFile file;
  ASSERT_TRUE(file.Open((dir / "cnlc0124.dat").c_str(), kModeC));
  file.Write("new", 3);
  file.Close();
  ASSERT_TRUE(file.Open((dir / "New.Dat").c_str(), kModeC));
  file.Close();
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"CNLC0124.DAT", "New.Dat"}));
  EXPECT_EQ(ReadText(dir / "CNLC0124.DAT"), "new");
}

TEST(FileCase, FolderComponentsResolveToo) {
  TempDir dir;
  ASSERT_EQ(mkdir((dir / "Empresa").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir / "Empresa/CN").c_str(), 0755), 0);
  CFile file;
  ASSERT_TRUE(file.Open((dir / "EMPRESA/cn/Lanc.DAT").c_str(), kModeC));
  file.Close();
  EXPECT_EQ(Names(dir / "Empresa/CN"), std::set<std::string>{"Lanc.DAT"});
  EXPECT_EQ(Content(dir / "empresa/Cn/LANC.dat", kModeL), "");
  CFile::Rename((dir / "EMPRESA/CN/lanc.dat").c_str(), (dir / "empresa/cn/Other.dat").c_str());
  EXPECT_EQ(Names(dir / "Empresa/CN"), std::set<std::string>{"Other.dat"});
  EXPECT_FALSE(CFile::IsReadOnly((dir / "EMPRESA/CN/OTHER.DAT").c_str()));
  CFile::Remove((dir / "empresa/CN/OTHER.DAT").c_str());
  EXPECT_TRUE(Names(dir / "Empresa/CN").empty());
  EXPECT_EQ(CauseOf([&] { CFile::Remove((dir / "empresa/CN/OTHER.DAT").c_str()); }),
            CFileException::fileNotFound);
}

TEST(FileCase, AccentedLettersMatchInEitherEncoding) {
  EXPECT_TRUE(qx::SameNameIgnoringCase("A\xc3\x87\xc3\x83O.DAT", "a\xc3\xa7\xc3\xa3o.dat"));
  EXPECT_TRUE(qx::SameNameIgnoringCase("A\xc7\xc3O.DAT", "a\xc3\xa7\xc3\xa3o.dat"));  // 1252
  EXPECT_FALSE(qx::SameNameIgnoringCase("\xc3\x8a", "\xc3\x9a"));  // Ê and Ú stay apart
  EXPECT_FALSE(qx::SameNameIgnoringCase("ab", "abc"));
  TempDir dir;
  WriteText(dir / "A\xc3\x87\xc3\x83O.DAT", "utf8");
  EXPECT_EQ(Content(dir / "a\xe7\xe3o.dat", kModeL), "utf8");
}

}  // namespace
