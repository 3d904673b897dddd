// qxcheck on the sound sample folder, its options, its command line and its
// two report forms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "check_run.h"

namespace qx::test {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

TEST(CheckSoundTest, TheSampleFolderIsSoundWithTheTextsKeptByDesign) {
  SampleFolder sample;
  const CheckRun run = sample.Check();
  EXPECT_EQ(run.code, 0) << run.out;
  EXPECT_TRUE(run.json["sound"].get<bool>());
  EXPECT_EQ(run.json["damage"], 0);
  EXPECT_EQ(run.json["files"], 20);
  EXPECT_EQ(run.json["difference_mode"], 0);
  EXPECT_FALSE(run.json["difference_per_branch"].get<bool>());
  // A replaced complement in each month and a replaced note stay in their heaps.
  ASSERT_EQ(FindingsOf(run, "complement-orphan").size(), 3u);
  const Json& orphan = *FindingsOf(run, "complement-orphan")[0];
  EXPECT_EQ(orphan["class"], "admitted");
  EXPECT_EQ(orphan["file"], "CNLH0124.DAT");
  EXPECT_EQ(orphan["unit"], "byte");
  EXPECT_EQ(orphan["position"], 1);
  EXPECT_EQ(orphan["last"], 5);
  EXPECT_EQ(FindingsOf(run, "note-orphan").size(), 1u);
  EXPECT_EQ(run.json["admitted"], 4);

  const CheckRun text = RunTool(sample.dir(), "qxcheck", {sample.folder()});
  EXPECT_EQ(text.code, 0);
  EXPECT_THAT(text.out, HasSubstr("admitted  CNLH0124.DAT bytes 1-5: 5 bytes in 1 run that no "
                                  "entry's text takes [complement-orphan]"));
  EXPECT_THAT(text.out, HasSubstr("20 files checked, 0 damage, 4 admitted: sound"));
}

TEST(CheckSoundTest, DifferenceOptionsShapeTheKeysThatAreCompared) {
  SampleFolder sample;
  // The sample keeps one total per date for all branches: the date groupings
  // agree with it, summed over users; a month grouping would have kept the
  // two dates of a month in one record.
  for (const char* mode : {"0", "1"}) {
    EXPECT_EQ(sample.Check({"--difference-mode", mode}).code, 0) << mode;
  }
  const CheckRun byMonth = sample.Check({"--difference-mode", "3"});
  EXPECT_EQ(byMonth.code, 1);
  ASSERT_EQ(FindingsOf(byMonth, "difference-duplicate").size(), 3u);
  EXPECT_THAT((*FindingsOf(byMonth, "difference-duplicate")[0])["reason"].get<std::string>(),
              HasSubstr("same key as record 1 (month 1, user 0)"));
  EXPECT_TRUE(FindingsOf(byMonth, "difference-total").empty());
  // Per branch, the totals stored without branch belong to no entry. (The
  // entries of branch 2 find no total of their own, one entry each: that
  // alone an interrupted save could leave.)
  const CheckRun perBranch = sample.Check({"--difference-per-branch", "1"});
  EXPECT_EQ(perBranch.code, 1);
  EXPECT_TRUE(perBranch.json["difference_per_branch"].get<bool>());
  const auto totals = FindingsOf(perBranch, "difference-total");
  ASSERT_EQ(totals.size(), 6u);
  EXPECT_THAT((*totals[0])["reason"].get<std::string>(),
              HasSubstr("date 15/01/2024, branch 0: the entries give 0.0000, the file holds "
                        "250.0000"));
  EXPECT_EQ((*totals[0])["position"], 1);
  const auto missing = FindingsOf(perBranch, "difference-unfinished");
  ASSERT_EQ(missing.size(), 6u);
  EXPECT_THAT((*missing[0])["reason"].get<std::string>(), HasSubstr("date 15/01/2024, branch 2"));
  EXPECT_TRUE((*missing[0])["position"].is_null());
  EXPECT_EQ((*missing[0])["unit"], "file");
}

TEST(CheckSoundTest, CommandLineAndExitCodes) {
  SampleFolder sample;
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {}).code, 2);
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {"--bogus", sample.folder()}).code, 2);
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {sample.folder(), sample.folder()}).code, 2);
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {"--difference-mode", "x", sample.folder()}).code, 2);
  EXPECT_EQ(
      RunTool(sample.dir(), "qxcheck", {"--difference-per-branch", "2", sample.folder()}).code, 2);
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {"--difference-mode"}).code, 2);
  const CheckRun missing = RunTool(sample.dir(), "qxcheck", {sample / "nowhere"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_THAT(missing.err, HasSubstr("nowhere"));
  const CheckRun company = RunTool(sample.dir(), "qxcheck", {"--company", "NOSUCH"});
  EXPECT_EQ(company.code, 1);
  EXPECT_THAT(company.err, HasSubstr("company NOSUCH"));

  const CheckRun help = RunTool(sample.dir(), "qxcheck", {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_THAT(help.out, HasSubstr("usage: qxcheck"));
  const CheckRun kinds = RunTool(sample.dir(), "qxcheck", {"--kinds"});
  EXPECT_EQ(kinds.code, 0);
  EXPECT_THAT(kinds.out, ContainsRegex("split-orphan +admitted"));
  EXPECT_THAT(kinds.out, ContainsRegex("entry-status +damage"));

  // An empty folder is sound; damage alone makes the exit code 1.
  TempDir empty;
  EXPECT_EQ(RunTool(empty, "qxcheck", {empty.path()}).code, 0);
  sample.PatchValue<uint8_t>("CNLC0124.DAT", 50 + 43, 9);
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {sample.folder()}).code, 1);
}

}  // namespace
}  // namespace qx::test
