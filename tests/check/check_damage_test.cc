// Each kind of damage qxcheck claims to find, made on purpose in a copy of
// the sample folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "check_run.h"
#include "platform/file.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;

constexpr uint64_t Entry(uint64_t p, uint64_t field) { return p * 50 + field; }
constexpr uint64_t Line(uint64_t p, uint64_t field) { return p * 20 + field; }
constexpr uint64_t Difference(uint64_t p, uint64_t field) { return p * 18 + field; }
constexpr int64_t kLargest = INT64_MAX;

// The run fails, and a damage finding of that kind names the file and position.
void ExpectDamage(const CheckRun& run, const std::string& kind, const std::string& file,
                  double position, const std::string& reason = "") {
  EXPECT_EQ(run.code, 1) << kind;
  EXPECT_FALSE(run.json["sound"].get<bool>());
  bool found = false;
  for (const Json* finding : FindingsOf(run, kind)) {
    if ((*finding)["file"] != file) continue;
    if (position >= 0 && (*finding)["position"] != position) continue;
    EXPECT_EQ((*finding)["class"], "damage");
    EXPECT_THAT((*finding)["reason"].get<std::string>(), HasSubstr(reason));
    found = true;
  }
  EXPECT_TRUE(found) << kind << " in " << file << " at " << position << ": " << run.out;
}

TEST(CheckDamageTest, EntryRecords) {
  SampleFolder sample;
  sample.PatchValue<uint8_t>("CNLC0124.DAT", Entry(1, 43), 7);
  sample.PatchValue<int8_t>("CNLC0224.DAT", Entry(2, 42), 30);  // February 2024 has 29 days
  sample.PatchValue<int8_t>("CNLC0224.DAT", Entry(3, 42), 0);
  sample.PatchValue<uint8_t>("CNLC0124.DAT", Entry(2, 47), 1);
  sample.PatchValue<int32_t>("CNLC0124.DAT", Entry(4, 4), 100000);
  sample.PatchValue<int32_t>("CNLC0324.DAT", Entry(4, 4), -3);
  const CheckRun run = sample.Check();
  ExpectDamage(run, "entry-status", "CNLC0124.DAT", 1, "status 7");
  ExpectDamage(run, "entry-day", "CNLC0224.DAT", 2, "day 30 in a month of 29 days");
  ExpectDamage(run, "entry-day", "CNLC0224.DAT", 3, "day 0");
  ExpectDamage(run, "entry-filler", "CNLC0124.DAT", 2);
  ExpectDamage(run, "complement-offset", "CNLC0124.DAT", 4, "past the end of CNLH0124.DAT");
  ExpectDamage(run, "complement-offset", "CNLC0324.DAT", 4, "negative");
}

TEST(CheckDamageTest, SplitChains) {
  SampleFolder sample;
  // January: entry 2 owns lines 1-2, entry 5 lines 3-5, deleted entry 6 the zeroed 6-7.
  sample.PatchValue<int32_t>("CNLC0124.DAT", Entry(1, 8), 99);
  sample.PatchValue<uint32_t>("CNLG0124.DAT", Line(3, 8), 64);
  sample.PatchValue<int64_t>("CNLG0124.DAT", Line(6, 0), 5);
  // February: lines 1-2 carry the bits of entries 2 and 3, and entry 3 names line 1.
  sample.PatchValue<uint32_t>("CNLG0224.DAT", Line(1, 8), 3);
  sample.PatchValue<uint32_t>("CNLG0224.DAT", Line(2, 8), 3);
  sample.PatchValue<int32_t>("CNLC0224.DAT", Entry(3, 8), 1);
  const CheckRun run = sample.Check();
  ExpectDamage(run, "split-position", "CNLC0124.DAT", 1, "split position 99 is outside");
  ExpectDamage(run, "split-owner", "CNLC0124.DAT", 5, "line 3 has owner word 64");
  ExpectDamage(run, "split-not-cleared", "CNLC0124.DAT", 6, "line 6 is not zeroed");
  ExpectDamage(run, "split-shared", "CNLG0224.DAT", 1, "entries 2 and 3");
}

TEST(CheckDamageTest, RecordFileShapes) {
  SampleFolder sample;
  sample.Truncate("CNLM0324.DAT", 5);
  sample.PatchValue<uint8_t>("CNLQ0224.DAT", 3, 1);
  sample.Patch("CNLH0224.DAT", 0, "X", 1);
  sample.PatchValue<uint8_t>("CNLM0124.DAT", 12 + 9, 1);
  const CheckRun run = sample.Check();
  ExpectDamage(run, "short-file", "CNLM0324.DAT", -1, "5 bytes");
  ExpectDamage(run, "zero-record", "CNLQ0224.DAT", 0);
  ExpectDamage(run, "zero-record", "CNLH0224.DAT", 0, "neither a space nor a zero byte");
  ExpectDamage(run, "currency-filler", "CNLM0124.DAT", 1);
}

TEST(CheckDamageTest, DifferenceTotals) {
  SampleFolder sample;
  // Records: 1 15/01, 2 22/01, 3 15/02, 4 22/02, 5 15/03, 6 22/03, 7 a free slot.
  sample.PatchValue<int64_t>("CNDIFDC.DAT", Difference(1, 0), 2'500'001);
  sample.PatchValue<uint16_t>("CNDIFDC.DAT", Difference(3, 14), 4);
  sample.PatchValue<uint32_t>("CNDIFDC.DAT", Difference(4, 8), 0);
  sample.PatchValue<uint16_t>("CNDIFDC.DAT", Difference(7, 16), 3);
  std::string copy = ReadText(sample / "CNDIFDC.DAT").substr(Difference(5, 0), 18);
  copy[0] = 1;  // the same date as record 5, with another total
  sample.Patch("CNDIFDC.DAT", Difference(8, 0), copy.data(), copy.size());
  const CheckRun run = sample.Check();
  ExpectDamage(run, "difference-total", "CNDIFDC.DAT", 1,
               "date 15/01/2024: the entries give 250.0000, the file holds 250.0001");
  ExpectDamage(run, "difference-branch", "CNDIFDC.DAT", 3, "branch 4");
  ExpectDamage(run, "difference-date", "CNDIFDC.DAT", 4);
  ExpectDamage(run, "difference-stale", "CNDIFDC.DAT", 7, "user 3");
  ExpectDamage(run, "difference-duplicate", "CNDIFDC.DAT", 8, "same key as record 5");
  // Users are told apart only in the groupings with users.
  sample.PatchValue<uint16_t>("CNDIFDC.DAT", Difference(2, 16), 5);
  ExpectDamage(sample.Check({"--difference-mode", "1"}), "difference-user", "CNDIFDC.DAT", 2,
               "user 5");
  EXPECT_TRUE(FindingsOf(sample.Check(), "difference-user").empty());
}

TEST(CheckDamageTest, SumsBeyondTheLargestAmount) {
  SampleFolder sample;
  // January: entry 3 (no credit account, 15/01) and a copy of it at 7, both
  // of the largest amount, whose sum no total holds.
  std::string entry = ReadText(sample / "CNLC0124.DAT").substr(Entry(3, 0), 50);
  std::memcpy(entry.data() + 24, &kLargest, 8);
  sample.Patch("CNLC0124.DAT", Entry(3, 0), entry.data(), entry.size());
  sample.Patch("CNLC0124.DAT", Entry(7, 0), entry.data(), entry.size());
  sample.PatchValue<int64_t>("CNDIFDC.DAT", Difference(1, 0), kLargest);
  // February: two users' totals of 15/02 (record 3 and a copy at 8), both the
  // largest amount: the key summed over users holds more than an amount.
  sample.PatchValue<int64_t>("CNDIFDC.DAT", Difference(3, 0), kLargest);
  std::string copy = ReadText(sample / "CNDIFDC.DAT").substr(Difference(3, 0), 18);
  copy[16] = 2;
  sample.Patch("CNDIFDC.DAT", Difference(8, 0), copy.data(), copy.size());
  const CheckRun run = sample.Check();
  ExpectDamage(run, "difference-overflow", "CNDIFDC.DAT", 1,
               "date 15/01/2024: the entries' one-sided amounts add up beyond the largest amount, "
               "922337203685477.5807");
  ExpectDamage(run, "difference-overflow", "CNDIFDC.DAT", 3,
               "date 15/02/2024: the file's totals add up beyond");
  EXPECT_TRUE(FindingsOf(run, "difference-total").empty()) << run.out;
}

TEST(CheckDamageTest, SideFiles) {
  SampleFolder sample;
  sample.Patch("QXCTLARQ.DAT", 32 + 1, "x", 1);
  const std::string full(32, 'A');
  sample.Patch("QXCTLARQ.DAT", 64, full.data(), full.size());
  const std::string third = ReadText(sample / "QXCTLARQ.DAT").substr(96, 32);
  sample.Patch("QXCTLARQ.DAT", 21 * 32, third.data(), third.size());
  sample.PatchValue<uint8_t>("CNFORIMP.DAT", 40 + 0, 0);
  sample.PatchValue<char>("CNFORIMP.DAT", 80 + 38, '\t');
  const std::string index = ReadText(sample / "CNNTEXPL.DAT");
  uint32_t first = 0;
  std::memcpy(&first, index.data() + 12 + 4, 4);
  sample.PatchValue<uint32_t>("CNNTEXPL.DAT", 12 + 4, first + 2);
  sample.PatchValue<uint8_t>("CNNTEXPL.DAT", 36 + 10, 1);
  const std::string heap = ReadText(sample / "CNNTEXCP.DAT");
  sample.Truncate("CNNTEXCP.DAT", heap.size() - 1);  // the last text loses its end
  const CheckRun run = sample.Check();
  ExpectDamage(run, "control-name", "QXCTLARQ.DAT", 1, "not upper-cased");
  ExpectDamage(run, "control-name", "QXCTLARQ.DAT", 2, "no terminating zero byte");
  ExpectDamage(run, "control-duplicate", "QXCTLARQ.DAT", 21, "is listed at record 3");
  ExpectDamage(run, "layout-field", "CNFORIMP.DAT", 1, "an empty name");
  ExpectDamage(run, "layout-field", "CNFORIMP.DAT", 2, "delimiter 9");
  ExpectDamage(run, "note-offset", "CNNTEXPL.DAT", 1, "inside a text");
  ExpectDamage(run, "note-filler", "CNNTEXPL.DAT", 3);
  ExpectDamage(run, "note-text", "CNNTEXPL.DAT", 3, "has no end");
}

TEST(CheckDamageTest, NamesAndUnreadableOrVanishedFiles) {
  SampleFolder sample;
  WriteText(sample / "cnlc0124.dat", ReadText(sample / "CNLC0124.DAT"));
  CFile holder;
  ASSERT_TRUE(holder.Open((sample / "CNLG0324.DAT").c_str(),
                          CFile::modeReadWrite | CFile::shareExclusive | CFile::modeNoTruncate));
  // February's entries are a folder; January's split lines are gone.
  std::filesystem::remove(sample / "CNLC0224.DAT");
  std::filesystem::create_directory(sample / "CNLC0224.DAT");
  std::filesystem::remove(sample / "CNLG0124.DAT");
  const CheckRun run = sample.Check();
  ExpectDamage(run, "name-case", "cnlc0124.dat", -1, "differs only in case from CNLC0124.DAT");
  ExpectDamage(run, "unreadable", "CNLG0324.DAT", -1, "cannot be opened");
  ExpectDamage(run, "unreadable", "CNLC0224.DAT", -1, "a folder, not a file");
  // A vanished file is named, though the system's own stopped creation leaves it too.
  const auto vanished = FindingsOf(run, "file-vanished");
  ASSERT_EQ(vanished.size(), 1u) << run.out;
  EXPECT_EQ((*vanished[0])["file"], "CNLG0124.DAT");
  EXPECT_EQ((*vanished[0])["reason"],
            "listed in QXCTLARQ.DAT (record 2) as created, and gone while CNLC0124.DAT is there");
}

}  // namespace
}  // namespace qx::test
