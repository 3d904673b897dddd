// qxcheck on the sound sample folder, its options, its command line and its
// two report forms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "check_run.h"

namespace qx::test {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

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
  EXPECT_EQ(orphan["class"], "admitido");
  EXPECT_EQ(orphan["file"], "CNLH0124.DAT");
  EXPECT_EQ(orphan["unit"], "byte");
  EXPECT_EQ(orphan["position"], 1);
  EXPECT_EQ(orphan["last"], 5);
  EXPECT_EQ(FindingsOf(run, "note-orphan").size(), 1u);
  EXPECT_EQ(run.json["admitted"], 4);

  const CheckRun text = RunTool(sample.dir(), "qxcheck", {sample.folder()});
  EXPECT_EQ(text.code, 0);
  EXPECT_THAT(text.out, HasSubstr("admitido  CNLH0124.DAT bytes 1-5: 5 bytes em 1 trecho fora do "
                                  "texto de qualquer lançamento [complement-orphan]"));
  EXPECT_THAT(text.out, HasSubstr("20 arquivos conferidos, 0 danos, 4 admitidos: sem dano"));
}

TEST(CheckSoundTest, DifferenceOptionsShapeTheKeysThatAreCompared) {
  SampleFolder sample;
  // The sample keeps one total per date for all branches: the date groupings
  // agree with it, summed over users; a month grouping would have kept the
  // two dates of a month in one record.
  for (const char* mode : {"0", "1"}) {
    EXPECT_EQ(sample.Check({"--modo-diferenca", mode}).code, 0) << mode;
  }
  const CheckRun byMonth = sample.Check({"--modo-diferenca", "3"});
  EXPECT_EQ(byMonth.code, 1);
  ASSERT_EQ(FindingsOf(byMonth, "difference-duplicate").size(), 3u);
  EXPECT_THAT((*FindingsOf(byMonth, "difference-duplicate")[0])["reason"].get<std::string>(),
              HasSubstr("a mesma chave do registro 1 (mês 1, usuário 0)"));
  EXPECT_TRUE(FindingsOf(byMonth, "difference-total").empty());
  // Per branch, the totals stored without branch belong to no entry. (The
  // entries of branch 2 find no total of their own, one entry each: that
  // alone an interrupted save could leave.)
  const CheckRun perBranch = sample.Check({"--diferenca-por-filial", "1"});
  EXPECT_EQ(perBranch.code, 1);
  EXPECT_TRUE(perBranch.json["difference_per_branch"].get<bool>());
  const auto totals = FindingsOf(perBranch, "difference-total");
  ASSERT_EQ(totals.size(), 6u);
  EXPECT_THAT((*totals[0])["reason"].get<std::string>(),
              HasSubstr("data 15/01/2024, filial 0: os lançamentos dão 0,00, o arquivo guarda "
                        "250,00"));
  EXPECT_EQ((*totals[0])["position"], 1);
  const auto missing = FindingsOf(perBranch, "difference-unfinished");
  ASSERT_EQ(missing.size(), 6u);
  EXPECT_THAT((*missing[0])["reason"].get<std::string>(), HasSubstr("data 15/01/2024, filial 2"));
  EXPECT_TRUE((*missing[0])["position"].is_null());
  EXPECT_EQ((*missing[0])["unit"], "arquivo");
}

TEST(CheckSoundTest, CommandLineAndExitCodes) {
  SampleFolder sample;
  const std::string folder = sample.folder();
  // The English names of the options stay as hidden aliases for older scripts.
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err;
  } cases[] = {
      {{}, 2, "diga a PASTA"},
      {{"--bogus", folder}, 2, "--bogus"},
      {{folder, folder}, 2, "argumento a mais"},
      {{"--modo-diferenca", "x", folder}, 2, "número inválido"},
      {{"--diferenca-por-filial", "2", folder}, 2, "número inválido"},
      {{"--modo-diferenca"}, 2, "falta o valor"},
      {{"--difference-mode", "x", folder}, 2, "--modo-diferenca: número inválido"},
      {{"--difference-mode", "1", "--difference-per-branch", "0", folder}, 0, ""},
      {{sample / "nowhere"}, 1, "nowhere"},
      {{"--empresa", "NOSUCH"}, 1, "empresa NOSUCH"},
      {{"--company", "NOSUCH"}, 1, "empresa NOSUCH"},
  };
  for (const auto& c : cases) {
    const CheckRun run = RunTool(sample.dir(), "qxcheck", c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.err));
  }

  const CheckRun help = RunTool(sample.dir(), "qxcheck", {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_THAT(help.out, HasSubstr("uso: qxcheck"));
  EXPECT_THAT(help.out, Not(HasSubstr("--company")));
  for (const char* option : {"--tipos", "--kinds"}) {
    const CheckRun kinds = RunTool(sample.dir(), "qxcheck", {option});
    EXPECT_EQ(kinds.code, 0);
    EXPECT_THAT(kinds.out, ContainsRegex("split-orphan +admitido"));
    EXPECT_THAT(kinds.out, ContainsRegex("entry-status +dano"));
  }
  const CheckRun kindsJson = RunTool(sample.dir(), "qxcheck", {"--tipos", "--json"});
  EXPECT_THAT(kindsJson.out, HasSubstr("\"kind\": \"entry-status\""));

  // An empty folder is sound; damage alone makes the exit code 1.
  TempDir empty;
  EXPECT_EQ(RunTool(empty, "qxcheck", {empty.path()}).code, 0);
  sample.PatchValue<uint8_t>("CNLC0124.DAT", 50 + 43, 9);
  EXPECT_EQ(RunTool(sample.dir(), "qxcheck", {folder}).code, 1);
}

}  // namespace
}  // namespace qx::test
