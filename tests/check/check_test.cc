// qxcheck (the built one) on the sample folder (from the built qxsample):
// sound, with the leftovers of interrupted writes it admits, and with each
// kind of damage it claims to find made on purpose; its options, its command
// line and its two report forms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "../storage/qxdump_run.h"
#include "platform/file.h"

namespace qx::test {
namespace {

struct CheckRun : DumpRun {
  Json json;  // the parsed output of a --json run
};

// A temporary folder holding the sample company in its "CN" subfolder.
class SampleFolder {
 public:
  SampleFolder() { EXPECT_EQ(RunTool(dir_, ToolBinary("qxsample"), {folder()}).code, 0); }
  std::string folder() const { return dir_ / "CN"; }
  const TempDir& dir() const { return dir_; }
  std::string operator/(const std::string& name) const { return folder() + "/" + name; }

  // qxcheck --json on the folder, with more options first.
  CheckRun Check(std::vector<std::string> options = {}) const {
    options.insert(options.begin(), "--json");
    options.push_back(folder());
    const DumpRun run = RunTool(dir_, ToolBinary("qxcheck"), options);
    const auto json = ParseJson(run.out);
    EXPECT_TRUE(json.has_value()) << "not JSON: " << run.out << run.err;
    return {run, json.value_or(Json::object())};
  }

  // Overwrites bytes of a file at an offset (the file grows when needed).
  void Patch(const std::string& name, uint64_t offset, const void* bytes, size_t size) const {
    std::string content = ReadText(*this / name);
    if (content.size() < offset + size) content.resize(offset + size, '\0');
    std::memcpy(content.data() + offset, bytes, size);
    WriteText(*this / name, content);
  }
  template <typename T>
  void PatchValue(const std::string& name, uint64_t offset, T value) const {
    Patch(name, offset, &value, sizeof value);
  }

 private:
  TempDir dir_;
};

// The findings of a run with that kind.
std::vector<const Json*> FindingsOf(const CheckRun& run, const std::string& kind) {
  std::vector<const Json*> found;
  for (const Json& finding : run.json["findings"]) {
    if (finding["kind"] == kind) found.push_back(&finding);
  }
  return found;
}

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr uint64_t Entry(uint64_t p, uint64_t field) { return p * 50 + field; }
constexpr uint64_t Line(uint64_t p, uint64_t field) { return p * 20 + field; }
constexpr uint64_t Difference(uint64_t p, uint64_t field) { return p * 18 + field; }
constexpr int64_t kLargest = INT64_MAX;

// A finding looked for: its kind, file and positions (-1: any) and a part of its reason.
struct Found {
  std::string kind, file;
  double first = -1, last = -1;
  std::string reason = "";
};

// Each finding is there, of that class, in a run with that exit code.
void ExpectFindings(const CheckRun& run, const std::string& klass, int code,
                    const std::vector<Found>& expected) {
  EXPECT_EQ(run.code, code) << run.out;
  EXPECT_TRUE(code != 1 || !run.json["sound"].get<bool>()) << run.out;
  for (const Found& want : expected) {
    bool found = false;
    for (const Json* finding : FindingsOf(run, want.kind)) {
      if ((*finding)["file"] != want.file ||
          (want.first >= 0 && (*finding)["position"] != want.first) ||
          (want.last >= 0 && (*finding)["last"] != want.last)) {
        continue;
      }
      EXPECT_EQ((*finding)["class"], klass);
      EXPECT_THAT((*finding)["reason"].get<std::string>(), HasSubstr(want.reason));
      found = true;
    }
    EXPECT_TRUE(found) << want.kind << " in " << want.file << " at " << want.first << ": "
                       << run.out;
  }
}

TEST(CheckSoundTest, TheSampleFolderIsSoundWithTheTextsKeptByDesignAndTheCommandLine) {
  SampleFolder sample;
  const CheckRun run = sample.Check();
  EXPECT_EQ(std::tuple(run.json["sound"], run.json["damage"], run.json["files"],
                       run.json["difference_mode"], run.json["difference_per_branch"],
                       run.json["admitted"]),
            std::tuple(true, 0, 20, 0, false, 4));
  // A replaced complement in each month and a replaced note stay in their heaps.
  ExpectFindings(run, "admitido", 0, {{"complement-orphan", "CNLH0124.DAT", 1, 5}});
  EXPECT_EQ(FindingsOf(run, "complement-orphan").size(), 3u);
  EXPECT_EQ(FindingsOf(run, "note-orphan").size(), 1u);

  // The text form; the command line (the usage rules all tools share are the
  // conventions tests'). The English names of the options stay as hidden
  // aliases for older scripts. An empty folder is sound.
  const std::string folder = sample.folder();
  const TempDir empty;
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err, out = "";  // out: a pattern
  } cases[] = {
      {{folder}, 0, "", "admitido  CNLH0124.DAT bytes 1-5: 5 bytes em 1 trecho fora do texto de "
                        "qualquer lançamento .complement-orphan.*20 arquivos conferidos, 0 danos, "
                        "4 admitidos: sem dano"},
      {{}, 2, "diga a PASTA"},
      {{folder, folder}, 2, "argumento a mais"},
      {{"--diferenca-por-filial", "2", folder}, 2, "número inválido"},
      {{"--modo-diferenca"}, 2, "falta o valor"},
      {{"--difference-mode", "x", folder}, 2, "--modo-diferenca: número inválido"},
      {{"--difference-mode", "0", "--difference-per-branch", "0", folder}, 0, ""},
      {{sample / "nowhere"}, 1, "nowhere"},
      {{"--company", "NOSUCH"}, 1, "empresa NOSUCH"},
      {{"--tipos"}, 0, "", "split-orphan +admitido"},
      {{"--kinds"}, 0, "", "entry-status +dano"},
      {{"--tipos", "--json"}, 0, "", "\"kind\": \"entry-status\""},
      {{empty.path()}, 0, ""},
  };
  for (const auto& c : cases) {
    const DumpRun run = RunTool(sample.dir(), ToolBinary("qxcheck"), c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.err));
    EXPECT_THAT(run.out, ContainsRegex(c.out));
  }
  EXPECT_THAT(RunTool(sample.dir(), ToolBinary("qxcheck"), {"--help"}).out,
              Not(HasSubstr("--company")));
}

TEST(CheckSoundTest, DifferenceOptionsShapeTheKeysThatAreCompared) {
  SampleFolder sample;
  // The sample keeps one total per date for all branches: the date groupings
  // agree with it, summed over users (the command line's cases); a month
  // grouping would have kept the two dates of a month in one record.
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
  ExpectFindings(perBranch, "dano", 1,
                 {{"difference-total", "CNDIFDC.DAT", 1, -1,
                   "data 15/01/2024, filial 0: os lançamentos dão 0,00, o arquivo guarda 250,00"}});
  EXPECT_TRUE(perBranch.json["difference_per_branch"].get<bool>());
  EXPECT_EQ(FindingsOf(perBranch, "difference-total").size(), 6u);
  const auto missing = FindingsOf(perBranch, "difference-unfinished");
  ASSERT_EQ(missing.size(), 6u);
  EXPECT_THAT((*missing[0])["reason"].get<std::string>(), HasSubstr("data 15/01/2024, filial 2"));
  EXPECT_TRUE((*missing[0])["position"].is_null());
  EXPECT_EQ((*missing[0])["unit"], "arquivo");
}

TEST(CheckAdmittedTest, InterruptedSavesRemovalsAndTotals) {
  SampleFolder sample;
  // January: a save appended two split lines of entry 1 and stopped before
  // attaching them; its complement text was appended too.
  std::string line(20, '\0');
  line[0] = 7, line[8] = 1;  // the owner word, 1
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
  std::filesystem::resize_file(sample / "CNLM0324.DAT", 4 * 12);
  std::filesystem::resize_file(sample / "CNLQ0324.DAT", 4 * 8);
  // A save of entry 3 (250.00 without credit account on 15/01) stopped
  // before its total: record 1 is still a free slot.
  sample.Patch("CNDIFDC.DAT", 18, std::string(18, '\0').data(), 18);
  ExpectFindings(
      sample.Check(), "admitido", 0,
      {{"difference-unfinished", "CNDIFDC.DAT", -1, -1,
        "data 15/01/2024: os lançamentos dão 250,00, o arquivo guarda 0,00"},
       {"split-orphan", "CNLG0124.DAT", 8, 9, "palavra de dono 1"},
       {"complement-orphan", "CNLH0124.DAT", 1, heap.size() + 9.0, "15 bytes em 2 trechos"},
       {"split-uncleared", "CNLC0124.DAT", 6, 6, "a linha 6 não está zerada"},
       {"split-orphan", "CNLG0124.DAT", 6, 6, "palavra de dono 6"},
       {"split-zeroed", "CNLC0224.DAT", 2, 2, "a linha 1 está zerada"},
       {"split-orphan", "CNLG0224.DAT", 2, 2},
       {"currency-missing", "CNLC0324.DAT", 4, 4, "além do fim de CNLM0324.DAT"},
       {"quantity-missing", "CNLG0324.DAT", 4, 5, "CNLQ0324.DAT"}});
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
  ExpectFindings(sample.Check(), "admitido", 0,
                 {{"file-vanished", "CNLC0324.DAT", -1, -1, "sumiu com CNLC0324.DAT"},
                  {"month-without-entries", "CNLG0324.DAT"},
                  {"month-without-entries", "CNLH0324.DAT"},
                  {"empty-file", "CNLC0424.DAT", -1, -1, "0 bytes"},
                  {"layout-temporary", "CNFORIMP.TMP"},
                  {"partial-tail", "CNLG0124.DAT", 8, 8, "7 de 20 bytes"}});

  // A month made again keeps CNLQ and CNLM; February also loses its totals'
  // entries, which leaves them as damage.
  WriteText(sample / "CNLC0224.DAT", std::string(50, '\0'));
  WriteText(sample / "CNLG0224.DAT", std::string(20, '\0'));
  WriteText(sample / "CNLH0224.DAT", " ");
  const CheckRun remade = sample.Check();
  ExpectFindings(
      remade, "admitido", 1,
      {{"quantity-beyond", "CNLQ0224.DAT", 1, 7}, {"currency-beyond", "CNLM0224.DAT", 1, 6}});
  EXPECT_EQ(FindingsOf(remade, "difference-total").size(), 2u);
}

TEST(CheckDamageTest, SplitChainsAndDifferenceTotals) {
  SampleFolder sample;
  // January: entry 2 owns lines 1-2, entry 5 lines 3-5, deleted entry 6 the zeroed 6-7.
  sample.PatchValue<int32_t>("CNLC0124.DAT", Entry(1, 8), 99);
  sample.PatchValue<uint32_t>("CNLG0124.DAT", Line(3, 8), 64);
  sample.PatchValue<int64_t>("CNLG0124.DAT", Line(6, 0), 5);
  // February: lines 1-2 carry the bits of entries 2 and 3, and entry 3 names line 1.
  sample.PatchValue<uint32_t>("CNLG0224.DAT", Line(1, 8), 3);
  sample.PatchValue<uint32_t>("CNLG0224.DAT", Line(2, 8), 3);
  sample.PatchValue<int32_t>("CNLC0224.DAT", Entry(3, 8), 1);
  // Records: 1 15/01, 2 22/01, 3 15/02, 4 22/02, 5 15/03, 6 22/03, 7 a free slot.
  sample.PatchValue<int64_t>("CNDIFDC.DAT", Difference(1, 0), 2'500'001);
  sample.PatchValue<uint16_t>("CNDIFDC.DAT", Difference(3, 14), 4);
  sample.PatchValue<uint32_t>("CNDIFDC.DAT", Difference(4, 8), 0);
  sample.PatchValue<uint16_t>("CNDIFDC.DAT", Difference(7, 16), 3);
  std::string copy = ReadText(sample / "CNDIFDC.DAT").substr(Difference(5, 0), 18);
  copy[0] = 1;  // the same date as record 5, with another total
  sample.Patch("CNDIFDC.DAT", Difference(8, 0), copy.data(), copy.size());
  ExpectFindings(
      sample.Check(), "dano", 1,
      {{"split-position", "CNLC0124.DAT", 1, -1, "posição de rateio 99 fora de CNLG0124.DAT"},
       {"split-owner", "CNLC0124.DAT", 5, -1, "a linha 3 tem a palavra de dono 64"},
       {"split-not-cleared", "CNLC0124.DAT", 6, -1, "a linha 6 não está zerada"},
       {"split-shared", "CNLG0224.DAT", 1, -1, "lançamentos 2 e 3"},
       {"difference-total", "CNDIFDC.DAT", 1, -1,
        "data 15/01/2024: os lançamentos dão 250,00, o arquivo guarda 250,0001"},
       {"difference-branch", "CNDIFDC.DAT", 3, -1, "filial 4"},
       {"difference-date", "CNDIFDC.DAT", 4},
       {"difference-stale", "CNDIFDC.DAT", 7, -1, "usuário 3"},
       {"difference-duplicate", "CNDIFDC.DAT", 8, -1, "a mesma chave do registro 5"}});
  // Users are told apart only in the groupings with users.
  sample.PatchValue<uint16_t>("CNDIFDC.DAT", Difference(2, 16), 5);
  ExpectFindings(sample.Check({"--modo-diferenca", "1"}), "dano", 1,
                 {{"difference-user", "CNDIFDC.DAT", 2, -1, "usuário 5"}});
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
  ExpectFindings(
      run, "dano", 1,
      {{"difference-overflow", "CNDIFDC.DAT", 1, -1,
        "data 15/01/2024: os valores de um só lado dos lançamentos somam mais que o maior "
        "valor, 922.337.203.685.477,5807"},
       {"difference-overflow", "CNDIFDC.DAT", 3, -1,
        "data 15/02/2024: os totais do arquivo somam mais"}});
  EXPECT_TRUE(FindingsOf(run, "difference-total").empty()) << run.out;
}

TEST(CheckDamageTest, EntriesRecordShapesAndSideFiles) {
  SampleFolder sample;
  sample.PatchValue<uint8_t>("CNLC0124.DAT", Entry(1, 43), 7);
  sample.PatchValue<int8_t>("CNLC0224.DAT", Entry(2, 42), 30);  // February 2024 has 29 days
  sample.PatchValue<int8_t>("CNLC0224.DAT", Entry(3, 42), 0);
  sample.PatchValue<uint8_t>("CNLC0124.DAT", Entry(2, 47), 1);
  sample.PatchValue<int32_t>("CNLC0124.DAT", Entry(4, 4), 100000);
  sample.PatchValue<int32_t>("CNLC0324.DAT", Entry(4, 4), -3);
  std::filesystem::resize_file(sample / "CNLM0324.DAT", 5);
  sample.PatchValue<uint8_t>("CNLQ0224.DAT", 3, 1);
  sample.Patch("CNLH0224.DAT", 0, "X", 1);
  sample.PatchValue<uint8_t>("CNLM0124.DAT", 12 + 9, 1);
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
  const std::string heap = ReadText(sample / "CNNTEXCP.DAT");  // its last text loses its end
  std::filesystem::resize_file(sample / "CNNTEXCP.DAT", heap.size() - 1);
  ExpectFindings(sample.Check(), "dano", 1,
                 {{"entry-status", "CNLC0124.DAT", 1, -1, "situação 7"},
                  {"entry-day", "CNLC0224.DAT", 2, -1, "dia 30 num mês de 29 dias"},
                  {"entry-day", "CNLC0224.DAT", 3, -1, "dia 0"},
                  {"entry-filler", "CNLC0124.DAT", 2},
                  {"complement-offset", "CNLC0124.DAT", 4, -1, "além do fim de CNLH0124.DAT"},
                  {"complement-offset", "CNLC0324.DAT", 4, -1, "negativa"},
                  {"short-file", "CNLM0324.DAT", -1, -1, "5 bytes"},
                  {"zero-record", "CNLQ0224.DAT", 0},
                  {"zero-record", "CNLH0224.DAT", 0, -1, "não é espaço nem byte zero"},
                  {"currency-filler", "CNLM0124.DAT", 1},
                  {"control-name", "QXCTLARQ.DAT", 1, -1, "não está em maiúsculas"},
                  {"control-name", "QXCTLARQ.DAT", 2, -1, "sem o byte zero final"},
                  {"control-duplicate", "QXCTLARQ.DAT", 21, -1, "já está no registro 3"},
                  {"layout-field", "CNFORIMP.DAT", 1, -1, "um nome vazio"},
                  {"layout-field", "CNFORIMP.DAT", 2, -1, "o delimitador 9"},
                  {"note-offset", "CNNTEXPL.DAT", 1, -1, "no meio de um texto"},
                  {"note-filler", "CNNTEXPL.DAT", 3},
                  {"note-text", "CNNTEXPL.DAT", 3, -1, "não tem fim"}});
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
  ExpectFindings(run, "dano", 1,
                 {{"name-case", "cnlc0124.dat", -1, -1,
                   "só difere em maiúsculas e minúsculas de CNLC0124.DAT"},
                  {"unreadable", "CNLG0324.DAT", -1, -1, "não abre"},
                  {"unreadable", "CNLC0224.DAT", -1, -1, "uma pasta, não um arquivo"}});
  // A vanished file is named, though the system's own stopped creation leaves it too.
  ExpectFindings(run, "admitido", 1,
                 {{"file-vanished", "CNLG0124.DAT", -1, -1,
                   "listado em QXCTLARQ.DAT (registro 2) como criado, e sumiu, embora "
                   "CNLC0124.DAT esteja lá"}});
  EXPECT_EQ(FindingsOf(run, "file-vanished").size(), 1u) << run.out;
}

TEST(CheckDamageTest, FoldersAndFilesOpenToOtherUsers) {
  SampleFolder sample;
  // A private folder hides its files, whatever their bits.
  ASSERT_EQ(chmod((sample / "CNLC0124.DAT").c_str(), 0644), 0);
  EXPECT_TRUE(FindingsOf(sample.Check(), "open-to-others").empty());
  ASSERT_EQ(chmod(sample.folder().c_str(), 0751), 0);
  ASSERT_EQ(chmod((sample / "CNLC0124.DAT").c_str(), 0640), 0);
  WriteText(sample / "XXMARCA7.dat", "");
  ASSERT_EQ(chmod((sample / "XXMARCA7.dat").c_str(), 0604), 0);
  const CheckRun run = sample.Check();
  ExpectFindings(
      run, "dano", 1,
      {{"open-to-others", ".", -1, -1,
        "modo 0751: os do grupo da pasta podem listar e entrar; outros usuários "
        "podem entrar na pasta"},
       {"open-to-others", "CNLC0124.DAT", -1, -1, "modo 0640: os do grupo da pasta podem ler"},
       {"open-to-others", "XXMARCA7.dat", -1, -1, "modo 0604: outros usuários podem ler"}});
  EXPECT_EQ(FindingsOf(run, "open-to-others").size(), 3u) << run.out;
  // The office's group may enter an office folder and use its files.
  ASSERT_EQ(chmod(sample.folder().c_str(), 02770), 0);
  ASSERT_EQ(chmod((sample / "CNLC0124.DAT").c_str(), 0660), 0);
  ASSERT_EQ(chmod((sample / "XXMARCA7.dat").c_str(), 0660), 0);
  EXPECT_TRUE(FindingsOf(sample.Check(), "open-to-others").empty());
}

}  // namespace
}  // namespace qx::test
