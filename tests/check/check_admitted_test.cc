// What an interrupted save, removal or month re-creation leaves behind:
// reported as admitted, and the folder stays sound.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "check_run.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;

// An admitted finding of that kind covers the positions (-1: any).
void ExpectAdmittedIn(const CheckRun& run, const std::string& kind, const std::string& file,
                      double first, double last, const std::string& reason = "") {
  bool found = false;
  for (const Json* finding : FindingsOf(run, kind)) {
    if ((*finding)["file"] != file) continue;
    if (first >= 0 && ((*finding)["position"] != first || (*finding)["last"] != last)) {
      continue;
    }
    EXPECT_EQ((*finding)["class"], "admitido");
    EXPECT_THAT((*finding)["reason"].get<std::string>(), HasSubstr(reason));
    found = true;
  }
  EXPECT_TRUE(found) << kind << " in " << file << ": " << run.out;
}

// The same, in a run that passes.
void ExpectAdmitted(const CheckRun& run, const std::string& kind, const std::string& file,
                    double first, double last, const std::string& reason = "") {
  EXPECT_EQ(run.code, 0) << kind << ": " << run.out;
  ExpectAdmittedIn(run, kind, file, first, last, reason);
}

TEST(CheckAdmittedTest, InterruptedSavesAndRemovals) {
  SampleFolder sample;
  // January: a save appended two split lines of entry 1 and stopped before
  // attaching them; its complement text was appended too.
  const uint32_t owner = 1;
  std::string line(20, '\0');
  line[0] = 7;
  std::memcpy(line.data() + 8, &owner, 4);
  sample.Patch("CNLG0124.DAT", 8 * 20, (line + line).data(), 40);
  // (The last text ends with a carriage return here: a text without one runs
  // on into the bytes after it when read.)
  std::string heap = ReadText(sample / "CNLH0124.DAT");
  heap.back() = '\r';
  WriteText(sample / "CNLH0124.DAT", heap + "Texto novo");
  // Deleted entry 6 still has its first line: its removal stopped after the status.
  std::string first = line;
  first[8] = 6;
  sample.Patch("CNLG0124.DAT", 6 * 20, first.data(), 20);
  // February: a removal of entry 2 zeroed its first line, not yet its status.
  sample.Patch("CNLG0224.DAT", 20, std::string(20, '\0').data(), 20);
  // March: entry 4's save stopped before its foreign-currency record, and
  // entry 5's lines 4 and 5 have no quantity yet.
  sample.Truncate("CNLM0324.DAT", 4 * 12);
  sample.Truncate("CNLQ0324.DAT", 4 * 8);
  const CheckRun run = sample.Check();
  ExpectAdmitted(run, "split-orphan", "CNLG0124.DAT", 8, 9, "palavra de dono 1");
  ExpectAdmitted(run, "complement-orphan", "CNLH0124.DAT", 1, heap.size() + 9,
                 "15 bytes em 2 trechos");
  ExpectAdmitted(run, "split-uncleared", "CNLC0124.DAT", 6, 6, "a linha 6 não está zerada");
  ExpectAdmitted(run, "split-orphan", "CNLG0124.DAT", 6, 6, "palavra de dono 6");
  ExpectAdmitted(run, "split-zeroed", "CNLC0224.DAT", 2, 2, "a linha 1 está zerada");
  ExpectAdmitted(run, "split-orphan", "CNLG0224.DAT", 2, 2);
  ExpectAdmitted(run, "currency-missing", "CNLC0324.DAT", 4, 4, "além do fim de CNLM0324.DAT");
  ExpectAdmitted(run, "quantity-missing", "CNLG0324.DAT", 4, 5, "CNLQ0324.DAT");
  EXPECT_EQ(run.json["damage"], 0) << run.out;
}

TEST(CheckAdmittedTest, TotalsMissingOneEntrysAmount) {
  SampleFolder sample;
  // A save of entry 3 (250.00 without credit account on 15/01) stopped
  // before its total: record 1 is still a free slot.
  sample.Patch("CNDIFDC.DAT", 18, std::string(18, '\0').data(), 18);
  ExpectAdmitted(sample.Check(), "difference-unfinished", "CNDIFDC.DAT", -1, -1,
                 "data 15/01/2024: os lançamentos dão 250,00, o arquivo guarda 0,00");
  // Another key off by an amount that is no entry's stays damage beside it.
  sample.PatchValue<int64_t>("CNDIFDC.DAT", 2 * 18, 1);
  const CheckRun two = sample.Check();
  EXPECT_EQ(two.code, 1);
  EXPECT_EQ(FindingsOf(two, "difference-total").size(), 1u) << two.out;
  EXPECT_EQ(FindingsOf(two, "difference-unfinished").size(), 1u) << two.out;
}

TEST(CheckAdmittedTest, RemovedAndRecreatedMonthsAndLeftOverFiles) {
  SampleFolder sample;
  // March removed half way: CNLC is gone, CNLG and CNLH not yet; its totals stay.
  std::filesystem::remove(sample / "CNLC0324.DAT");
  // A month whose CNLC was created and not yet given its zero record.
  WriteText(sample / "CNLC0424.DAT", "");
  WriteText(sample / "CNFORIMP.TMP", ReadText(sample / "CNFORIMP.DAT"));
  // A write to January's split lines stopped after 7 of 20 bytes.
  sample.Patch("CNLG0124.DAT", 8 * 20, "1234567", 7);
  const CheckRun run = sample.Check();
  ExpectAdmitted(run, "file-vanished", "CNLC0324.DAT", -1, -1, "sumiu com CNLC0324.DAT");
  ExpectAdmitted(run, "month-without-entries", "CNLG0324.DAT", -1, -1);
  ExpectAdmitted(run, "month-without-entries", "CNLH0324.DAT", -1, -1);
  ExpectAdmitted(run, "empty-file", "CNLC0424.DAT", -1, -1, "0 bytes");
  ExpectAdmitted(run, "layout-temporary", "CNFORIMP.TMP", -1, -1);
  ExpectAdmitted(run, "partial-tail", "CNLG0124.DAT", 8, 8, "7 de 20 bytes");

  // A month made again keeps CNLQ and CNLM; February also loses its totals'
  // entries, which leaves them as damage.
  WriteText(sample / "CNLC0224.DAT", std::string(50, '\0'));
  WriteText(sample / "CNLG0224.DAT", std::string(20, '\0'));
  WriteText(sample / "CNLH0224.DAT", " ");
  const CheckRun remade = sample.Check();
  EXPECT_EQ(remade.code, 1);
  ExpectAdmittedIn(remade, "quantity-beyond", "CNLQ0224.DAT", 1, 7);
  ExpectAdmittedIn(remade, "currency-beyond", "CNLM0224.DAT", 1, 6);
  EXPECT_EQ(FindingsOf(remade, "difference-total").size(), 2u);
}

}  // namespace
}  // namespace qx::test
