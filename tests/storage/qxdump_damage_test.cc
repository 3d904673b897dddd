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
  EXPECT_THAT(table.out,
              HasSubstr("dano: o registro 3 está incompleto: 20 de 50 bytes; não foi lido"));
  EXPECT_THAT(table.out, HasSubstr("(2 itens no arquivo)"));

  const DumpRun run = RunQxdump(dir, {"--json", "CNLC0324.DAT", "1-"});
  auto json = ParseJson(run.out);
  ASSERT_TRUE(json.has_value()) << run.out;
  EXPECT_EQ((*json)["records"].size(), 2u);
  EXPECT_EQ((*json)["records"][1]["Documento"], 42);
  EXPECT_TRUE((*json)["damaged"].get<bool>());

  // Shorter than its zero record; empty; a zero record that is not zero
  // (its bytes 01 shown as an amount).
  const struct {
    std::string file, bytes, range;
    int code;
    std::vector<std::string> lines;
  } shapes[] = {
      {"CNLG0324.DAT",
       std::string(10, '\0'),
       "",
       1,
       {"dano: o arquivo é menor que o seu registro zero: 10 de 20 bytes"}},
      {"CNLM0324.DAT", "", "", 0, {"nota: o arquivo está vazio"}},
      {"CNLQ0324.DAT",
       std::string(8, '\x01'),
       "0",
       0,
       {"o registro 0, o registro zero, não é todo zero", "7.234.017.283.807,6673"}},
  };
  for (const auto& shape : shapes) {
    WriteText(dir / shape.file, shape.bytes);
    std::vector<std::string> args{shape.file};
    if (!shape.range.empty()) args.push_back(shape.range);
    const DumpRun run = RunQxdump(dir, args);
    EXPECT_EQ(run.code, shape.code) << shape.file;
    for (const std::string& line : shape.lines) EXPECT_THAT(run.out, HasSubstr(line));
  }
}

TEST(QxdumpDamageTest, UnknownNamesMissingFilesAndBadArgumentsAreRefused) {
  TempDir dir;
  WriteText(dir / "NOTES.DAT", std::string(50, '\0'));
  const DumpRun unknown = RunQxdump(dir, {"NOTES.DAT"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_THAT(unknown.err, HasSubstr("nenhum leiaute de registros conhecido"));
  EXPECT_TRUE(unknown.out.empty());
  EXPECT_EQ(RunQxdump(dir, {"CNLX0324.DAT"}).code, 2);

  const DumpRun missing = RunQxdump(dir, {"CNLC0124.DAT"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_THAT(missing.err, HasSubstr("arquivo não encontrado"));

  const DumpRun help = RunQxdump(dir, {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_THAT(help.out, HasSubstr("uso: qxdump"));
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
    EXPECT_THAT(run.out, HasSubstr("(2 itens no arquivo)"));
  }
  CFile exclusive;
  ASSERT_TRUE(exclusive.Open(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive));
  const DumpRun refused = RunQxdump(dir, {"CNLC0324.DAT"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_THAT(refused.err, HasSubstr("violação de compartilhamento"));
}

}  // namespace
}  // namespace qx::test
