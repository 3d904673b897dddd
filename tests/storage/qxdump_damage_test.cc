// qxdump on damaged files, unknown names, files others hold open, and its
// command line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/file.h"
#include "qxdump_run.h"
#include "storage/records/entry_records.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;

std::vector<EntryRecord> TwoEntries() {
  EntryRecord entry{};
  entry.cDia = 3;
  entry.Documento = 41;
  EntryRecord other = entry;
  other.Documento = 42;
  return {entry, other};
}

TEST(QxdumpDamageTest, APartialLastRecordIsReportedAndNeverRead) {
  TempDir dir;
  WriteRecordFile(dir / "CNLC0324.DAT", TwoEntries(), std::string(20, '\x7F'));
  const DumpRun table = RunQxdump(dir, {"CNLC0324.DAT"});
  EXPECT_EQ(table.code, 1);
  EXPECT_THAT(table.out, HasSubstr("damage: record 3 is partial: 20 of 50 bytes; not read"));
  EXPECT_THAT(table.out, HasSubstr("(2 items in the file)"));

  const DumpRun run = RunQxdump(dir, {"--json", "CNLC0324.DAT", "1-"});
  auto json = ParseJson(run.out);
  ASSERT_TRUE(json.has_value()) << run.out;
  EXPECT_EQ((*json)["records"].size(), 2u);
  EXPECT_EQ((*json)["records"][1]["Documento"], 42);
  EXPECT_TRUE((*json)["damaged"].get<bool>());

  // Shorter than its zero record; empty; a zero record that is not zero.
  WriteText(dir / "CNLG0324.DAT", std::string(10, '\0'));
  const DumpRun shortFile = RunQxdump(dir, {"CNLG0324.DAT"});
  EXPECT_EQ(shortFile.code, 1);
  EXPECT_THAT(shortFile.out, HasSubstr("shorter than its zero record: 10 of 20 bytes"));
  WriteText(dir / "CNLM0324.DAT", "");
  const DumpRun empty = RunQxdump(dir, {"CNLM0324.DAT"});
  EXPECT_EQ(empty.code, 0);
  EXPECT_THAT(empty.out, HasSubstr("note: the file is empty"));
  WriteText(dir / "CNLQ0324.DAT", std::string(8, '\x01'));
  const DumpRun header = RunQxdump(dir, {"CNLQ0324.DAT", "0"});
  EXPECT_EQ(header.code, 0);
  EXPECT_THAT(header.out, HasSubstr("record 0, the zero record, is not all zero"));
  EXPECT_THAT(header.out, HasSubstr("7.234.017.283.807,6673"));  // the bytes 01 as an amount
}

TEST(QxdumpDamageTest, UnknownNamesMissingFilesAndBadArgumentsAreRefused) {
  TempDir dir;
  WriteText(dir / "NOTES.DAT", std::string(50, '\0'));
  const DumpRun unknown = RunQxdump(dir, {"NOTES.DAT"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_THAT(unknown.err, HasSubstr("no known record layout"));
  EXPECT_TRUE(unknown.out.empty());
  EXPECT_EQ(RunQxdump(dir, {"CNLX0324.DAT"}).code, 2);

  const DumpRun missing = RunQxdump(dir, {"CNLC0124.DAT"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_THAT(missing.err, HasSubstr("file not found"));

  const DumpRun help = RunQxdump(dir, {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_THAT(help.out, HasSubstr("usage: qxdump"));
  const std::vector<std::string> usages[] = {
      {}, {"--bogus", "CNLC0124.DAT"}, {"CNLC0124.DAT", "5-2"}, {"CNLC0124.DAT", "x"}};
  for (const auto& args : usages) EXPECT_EQ(RunQxdump(dir, args).code, 2) << args.size();
}

TEST(QxdumpDamageTest, ReadsFilesThatAWriterHoldsButNotExclusiveOnes) {
  TempDir dir;
  const std::string path = dir / "CNLC0324.DAT";
  WriteRecordFile(path, TwoEntries());
  {
    CFile writer;  // as the server holds a month file: read-write, denying other writers
    ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyWrite));
    const DumpRun run = RunQxdump(dir, {"CNLC0324.DAT"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("(2 items in the file)"));
  }
  CFile exclusive;
  ASSERT_TRUE(exclusive.Open(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive));
  const DumpRun refused = RunQxdump(dir, {"CNLC0324.DAT"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_THAT(refused.err, HasSubstr("sharing violation"));
}

}  // namespace
}  // namespace qx::test
