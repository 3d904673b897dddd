// The profiler: its lines, file names and headers, switches, process filter and call
// statistics without files; which lines it writes and where, how they look in their files,
// concurrent writers, the lines that cannot be written, and the process facts the records
// carry.
#include "diagnostics/profiler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "diagnostics/profiler_call.h"
#include "diagnostics/profiler_files.h"
#include "diagnostics/profiler_record.h"
#include "diagnostics/profiler_state.h"
#include "diagnostics/profiler_statistics.h"
#include "diagnostics/profiler_switches.h"
#include "diagnostics/profiler_writer.h"
#include "diagnostics_fixture.h"
#include "platform/file_exception.h"
#include "platform/file_faults.h"
#include "platform/process_info.h"
#include "values/crc64.h"

namespace qx {
namespace {

ProfilerRecord Sample(IQXDF_Profiler* identity) {
  ProfilerRecord r;
  r.dataHora = SYSTEMTIME{2025, 3, 2, 4, 9, 5, 7, 31};
  r.identidade = identity;
  r.funcao = "CQXCN_Lancamento::GravaConferido";
  r.guid = "0123ABCD-4567-89EF-FEDC-BA9876543210";
  r.processo = "ostrel";
  r.usuarioLocal = "joao";
  r.nomes = {"MesAno", "IndLan", "cConferido", "", "Vazio"};
  r.valores = {"123", "45", "S", "sem nome", ""};
  r.ticksInicio = 1000;
  r.ticksFim = 1250;
  r.memoriaEntrada = 4096;
  r.memoriaSaida = 6144;
  return r;
}

constexpr PhysicalMemory kMachine{1000000, 8000000};

std::string Line(const ProfilerRecord& r, ProfilerRecordType type) {
  return FormatProfilerLine(r, type, kMachine, 321);
}

TEST(ProfilerLine, ColumnsIdentityRecordNoLineBreaksFileNamesAndHeaders) {
  TestIdentity identity("EMP1");
  ProfilerRecord r = Sample(&identity);
  const std::string common =
      "04/03/2025\t09:05:07.031\tostrel\tjoao\t" + r.funcao +
      "\t0123ABCD-4567-89EF-FEDC-BA9876543210\tEEMP1\tU007\tS00123456\tT00000321\t"
      "EMP1\t7\t123456\tDOM\\joao\tQXCONTAB\tCN\tlanc.cpp\t42\t1\t0\t\t";
  // Pairs are written only when both name and value are given (the files' tests, and the
  // error log's, follow the other kinds of line).
  EXPECT_EQ(Line(r, ProfilerRecordType::kSaiu),
            common +
                "SAIU\t1000000\t8000000\t6144\t250\t2048\t"
                "MesAno = 123\tIndLan = 45\tcConferido = S\t\n");
  // A clock or memory figure that went down gives 0, never a negative number.
  r.ticksFim = 900;
  r.memoriaSaida = 1024;
  EXPECT_NE(Line(r, ProfilerRecordType::kSaiu).find("SAIU\t1000000\t8000000\t1024\t0\t0\tMesAno"),
            std::string::npos);
  // The identity's record only when it was accepted.
  identity.record().cControle = 'A';
  std::string line = Line(r, ProfilerRecordType::kEntrou);
  EXPECT_NE(line.find("EEMP1\tU007\tS00123456\tT00000321\t\t0\t0\t\t\t\t\t0\t0\t0\t\tENTROU"),
            std::string::npos)
      << line;
  // Fields filled to their last byte are read no further than the field.
  identity.record().cControle = 'B';
  std::memset(identity.record().szAplicativo, 'A', sizeof identity.record().szAplicativo);
  std::memset(identity.record().szFiller, 'F', sizeof identity.record().szFiller);
  // Line breaks never split a record.
  r.valores[0] = "linha 1\nlinha 2\r\n";
  r.funcao = "Frame\r\nName";
  line = Line(r, ProfilerRecordType::kEntrou);
  for (const std::string& part :
       {"\t" + std::string(48, 'A') + "\tCN\t", "\t" + std::string(22, 'F') + "\tENTROU\t",
        std::string("MesAno = linha 1linha 2\t"), std::string("\tFrameName\t")}) {
    EXPECT_NE(line.find(part), std::string::npos) << part << " in " << line;
  }
  EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(line.find('\n'), line.size() - 1);

  // Dates out of range in file names (the files' tests name the usual ones).
  const SYSTEMTIME early{1200, 0, 0, 1, 0, 0, 0, 0}, late{9999, 250, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(ErrorFilePath("/d/", true, early), "/d/QXProfilerErros_Base_184800.log");
  EXPECT_EQ(ErrorFilePath("/d", false, late), "/d/QXProfilerErros_Pgms_471799.log");

  // The headers' exact bytes, by their CRC-64.
  EXPECT_EQ(std::tuple(qx::Crc64(ProfilerFileHeader()), qx::Crc64(ErrorFileHeader())),
            std::tuple(0x5816C6B23B016E0Dull, 0xC92E364B7B2EED2Bull));
}

TEST(ProfilerSwitches, OnOffRuleAndProcessFilter) {
  // Entrada, Saida, CoCreateInstance, Performance, Memory: measuring alone
  // writes nothing, and switches peer-creation lines off unless calls are written.
  const std::pair<std::string, bool> cases[] = {{"", false},   {"E", true},   {"S", true},
                                                {"C", true},   {"P", false},  {"M", false},
                                                {"CP", false}, {"SCM", true}, {"EPM", true}};
  for (const auto& [flags, on] : cases) {
    const std::string& letters = flags;
    auto has = [&letters](char flag) { return letters.find(flag) != std::string::npos; };
    ProfilerConfig c;
    std::tie(c.entrada, c.saida, c.coCreateInstance, c.performance, c.memory) =
        std::tuple(has('E'), has('S'), has('C'), has('P'), has('M'));
    EXPECT_EQ(ProfilerSwitchedOn(c), on) << flags;
  }
  // Processos, the process's name, whether it passes: words match as substrings, without
  // case and without a Windows ".exe"; separators alone, or nothing, let no process pass.
  const std::tuple<std::string, std::string, bool> filters[] = {
      {"qxfolha;TODOS", "anything", true},
      {"QXFOLHA, OSTREL", "ostrel.exe", true},
      {"a b\tstrel", "ostrel.exe", true},
      {"qxfolha;qxcaixa", "ostrel.exe", false},
      {"qxfolha;OSTREL.EXE", "ostrel", true},
      {"ostrel.exe", "Ostrel", true},
      {"ostrel.exe", "ostrelx", false},
      {" ;, ", "ostrel.exe", false},
      {"", "ostrel", false}};
  for (const auto& [processos, name, passes] : filters) {
    EXPECT_EQ(ProcessFilterPasses(processos, name), passes) << processos << " / " << name;
  }
}

TEST(ProfilerStatistics, FrameNamesRecordAndMerge) {
  const std::pair<const char*, std::pair<std::string, std::string>> names[] = {
      {"T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::Inicializa_Padrao",
       {"T_QXUnknown", "Inicializa_Padrao"}},
      {"CQXCN_Lancamento::GetCredito", {"CQXCN_Lancamento", "GetCredito"}},
      {"A::B::C", {"A", "B"}},
      {"QXCoCreateInstance", {"QXCoCreateInstance", ""}},
      {"", {"", ""}}};
  for (const auto& [frame, parts] : names) EXPECT_EQ(SplitFrameName(frame), parts) << frame;

  auto leaves = [](const CallStatistics& stats) {
    std::vector<std::pair<CallKey, CallFigures>> all;
    stats.ForEach([&](const CallKey& k, const CallFigures& f) { all.emplace_back(k, f); });
    return all;
  };
  TestIdentity a("EMP1", 3);
  CallStatistics first;
  EXPECT_TRUE(first.Empty());
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 0, 25'000);          // 2.5 ms -> 2
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 100, 100 + 90'000);  // 9 ms
  first.RecordCall(&a, "CQXCN_Lancamento::Grava", 50'000, 10'000);     // clock set back -> 0
  first.RecordCall(nullptr, "CQXCN_Lancamento::Grava", 0, 10'000);
  auto all = leaves(first);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].first, (CallKey{"", "", "CQXCN_Lancamento", "Grava", 0}));
  EXPECT_EQ(all[1].first, (CallKey{"EMP1", "QXCONTAB", "CQXCN_Lancamento", "Grava", 3}));
  using Figures = std::tuple<int64_t, int64_t, int64_t, std::optional<int64_t>>;
  auto figures = [](const CallFigures& f) {
    return Figures{f.count, f.totalMs, f.longestMs, f.shortestMs};
  };
  EXPECT_EQ(figures(all[1].second), (Figures{3, 11, 9, 0}));

  // Two objects with the same keys merge into one leaf whose count is the sum.
  CallStatistics second;
  second.RecordCall(&a, "CQXCN_Lancamento::Grava", 0, 200'000);  // 20 ms
  TestIdentity b("EMP2", 3);
  second.RecordCall(&b, "CQXCN_Lancamento::Grava", 0, 10'000);
  CallStatistics process;
  process.Merge(first);
  process.Merge(second);
  process.Merge(process);  // merging a map into itself changes nothing
  all = leaves(process);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(figures(all[1].second), (Figures{4, 31, 20, 0}));
  EXPECT_EQ(all[2].first.empresa, "EMP2");
  EXPECT_EQ(all[2].second.shortestMs, 1);

  // Figures without calls have no shortest call, and merging them changes none.
  CallFigures single, empty;
  single.Merge(empty);
  EXPECT_FALSE(single.shortestMs.has_value());
  single.Add(5);
  single.Merge(empty);
  EXPECT_EQ(figures(single), (Figures{1, 5, 5, 5}));
}

using ProfilerLines = ProfilerTest;
using ProfilerFiles = ProfilerTest;

void OneCall(IQXDF_Profiler* identity) {
  ProfilerCall(identity).Entry("CQXCN_Lancamento::GravaConferido");
}

TEST_F(ProfilerLines, MeasuringAloneGarbageOrAnotherProcessWritesNothing) {
  // log.ini, whether the profiler is on.
  const std::pair<std::string, bool> inis[] = {
      {"Performance=1\r\nCoCreateInstance=1\r\n", false},
      {"Entrada=2\r\nSaida=10\r\n", false},
      {"Entrada=yes\r\nSaida=-1\r\nCoCreateInstance=\r\n=1\r\nsem sinal de igual\r\n"
       "\x01\xff\xfe=\x80\r\nProcessos=" +
           std::string(5000, 'x') + "\r\n",
       false},
      {"Entrada=1\r\nProcessos=qxfolha;qxcaixa\r\n", true},
      // "Processos" longer than its 260 characters is cut, so "todos" is lost.
      {"Entrada=1\r\nProcessos=" + std::string(300, 'x') + ";todos\r\n", true}};
  for (const auto& [ini, on] : inis) {
    WriteIni(ini);
    Expire();
    EXPECT_EQ(ProfilerIsOn(), on) << ini;
    CQXProfilerEmpresa identity("EMP1", 1, 2);
    OneCall(&identity);
    ProfilerWritePeerCreation("QXCN_Lancamento Class");
    EXPECT_FALSE(std::filesystem::exists(ProfilerLog())) << ini;
  }
  const std::string name = ProcessBaseName();
  WriteIni("Entrada=1\r\nProcessos=QXFOLHA;" + name.substr(1, 5) + "\r\n");
  Expire();
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  OneCall(&identity);
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Columns(lines[1])[2], name);
}

// One complete entry/exit pair, column by column, sharing an id only when both are
// on, and a peer creation line.
TEST_F(ProfilerLines, GoldenEntryExitPairOneSideAloneAndPeerCreation) {
  TestIdentity identity("EMP1");
  WriteIni("Entrada=1\r\nSaida=1\r\nPerformance=1\r\nMemory=1\r\nTimeoutConfig=600\r\n");
  {
    ProfilerCall call(&identity);
    call.Entry("CQXCN_Lancamento::GravaConferido",
               {{"MesAno", "123"}, {"IndLan", "45"}, {"cConferido", "S"}});
    Tick() += 250;
  }
  OneCall(&identity);
  const std::string start = RecordStart("CQXCN_Lancamento::GravaConferido", true);
  const std::string pairs = "\tMesAno = 123\tIndLan = 45\tcConferido = S\t";
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0] + "\n", ProfilerFileHeader());
  ExpectGolden(lines[1], start + "ENTROU\t<N>\t<N>\t<N>\t0\t0" + pairs);
  ExpectGolden(lines[2], start + "SAIU\t<N>\t<N>\t<N>\t250\t<N>" + pairs);
  EXPECT_EQ(Columns(lines[1])[5], Columns(lines[2])[5]);
  EXPECT_NE(Columns(lines[3])[5], Columns(lines[1])[5]);  // a new id per call
  EXPECT_GT(std::stoll(Columns(lines[1])[24]), 0);        // memory at entry was measured
  // One side alone: its line only, without an id.
  for (const auto& [ini, type] : {std::pair{"Saida=1\r\n", "SAIU"}, {"Entrada=1\r\n", "ENTROU"}}) {
    std::filesystem::remove(ProfilerLog());
    WriteIni(ini);
    Expire();
    OneCall(&identity);
    lines = Lines(ProfilerLog());
    ASSERT_EQ(lines.size(), 2u) << ini;
    EXPECT_EQ(Columns(lines[1])[21], type);
    EXPECT_EQ(Columns(lines[1])[5], "");
  }

  std::filesystem::remove(ProfilerLog());
  WriteIni("CoCreateInstance=1\r\n");
  Expire();
  EXPECT_TRUE(ProfilerIsOn());
  OneCall(&identity);  // calls are not written
  ProfilerWritePeerCreation("QXCN_Lancamento Class");
  lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  ExpectGolden(lines[1], RecordStart("QXCoCreateInstance", false) + "COCREATE\t<N>\t<N>\t" +
                             "ProgID = QXCN_Lancamento\tModulo = " + ExecutableFileName() + "\t");
}

TEST_F(ProfilerLines, ConfigurationIsReadAgainAfterItsTimeout) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni("Entrada=1\r\nTimeoutConfig=60\r\n");
  OneCall(&identity);  // reads now
  WriteIni("Entrada=0\r\n");
  Tick() += 59'999;
  OneCall(&identity);  // the reading is still valid
  EXPECT_EQ(Lines(ProfilerLog()).size(), 3u);
  Tick() += 1;
  EXPECT_FALSE(ProfilerIsOn());
  OneCall(&identity);
  EXPECT_EQ(Lines(ProfilerLog()).size(), 3u);
  // Without log.ini everything is off; a reading then lasts 600 seconds.
  std::filesystem::remove(installation_ + "log.ini");
  Expire();
  EXPECT_FALSE(ProfilerIsOn());
  WriteIni("Entrada=1\r\n");
  Tick() += 599'999;
  EXPECT_FALSE(ProfilerIsOn());
  Tick() += 1;
  EXPECT_TRUE(ProfilerIsOn());
  // A negative timeout counts as 0: the next use reads again.
  WriteIni("Entrada=1\r\nTimeoutConfig=-30\r\n");
  Expire();
  EXPECT_TRUE(ProfilerIsOn());
  WriteIni("Entrada=0\r\n");
  EXPECT_FALSE(ProfilerIsOn());
}

// Writes a failure of identity dated the 17th of month in 2025.
bool WriteError(IQXDF_Profiler* identity, uint16_t month = 3) {
  ProfilerRecord record;
  record.dataHora = SYSTEMTIME{2025, month, 0, 17, 10, 20, 30, 400};
  record.identidade = identity;
  record.funcao = "CQXCN_Lancamento::Grava";
  record.valores = {"0.1.0.0", "6.1", "QXCN_Lancamento", "120", "hr = pfInSEHFuncao()"};
  return WriteProfilerRecord(record, ProfilerRecordType::kErro);
}

TEST_F(ProfilerFiles, FailureGoesToTheMonthFileOfItsCompanyOrOfThePrograms) {
  WriteIni("Entrada=0\r\nProcessos=nenhum\r\n");  // written whatever the configuration
  TestIdentity company("EMP1");
  ASSERT_TRUE(WriteError(&company));
  ASSERT_TRUE(WriteError(&company));
  auto lines = Lines(company_ + "QXProfilerErros_Base_202503.log");
  ASSERT_EQ(lines.size(), 3u);  // one header, two records
  EXPECT_EQ(lines[0] + "\n", ErrorFileHeader());
  auto columns = Columns(lines[1]);
  const std::pair<size_t, std::string> expected[] = {{0, "17/03/2025"},
                                                     {1, "10:20:30.400"},
                                                     {21, "ERRO"},
                                                     {28, "120"},
                                                     {29, "hr = pfInSEHFuncao()"}};
  for (const auto& [column, text] : expected) EXPECT_EQ(columns[column], text) << column;
  // Without a company, or for a company without a base data folder: the programs' file in
  // the installation folder.
  CQXProfilerEmpresa none;
  TestIdentity unknown("EMP9");
  ASSERT_TRUE(WriteError(&none) && WriteError(nullptr, 4) && WriteError(&unknown, 4));
  EXPECT_EQ(Lines(installation_ + "QXProfilerErros_Pgms_202503.log").size(), 2u);
  EXPECT_EQ(Lines(installation_ + "QXProfilerErros_Pgms_202504.log").size(), 3u);
}

TEST_F(ProfilerFiles, ConcurrentWritersNeverInterleave) {
  WriteIni("Entrada=1\r\n");
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  constexpr int kThreads = 8, kLines = 1000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &identity] {
      for (int n = 0; n < kLines; ++n) {
        ProfilerCall(&identity).Entry("CQXCN_Lancamento::Grava",
                                      {{"Fio", std::to_string(t)}, {"Linha", std::to_string(n)}});
      }
    });
  }
  for (auto& thread : threads) thread.join();
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 1u + kThreads * kLines);
  std::set<std::string> seen;
  for (size_t i = 1; i < lines.size(); ++i) {
    auto columns = Columns(lines[i]);
    ASSERT_EQ(columns.size(), 30u) << lines[i];
    ASSERT_EQ(columns[21], "ENTROU");
    seen.insert(columns[27] + "/" + columns[28]);
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

TEST_F(ProfilerFiles, NoInstallationFolderDropsTheLines) {
  TestIdentity company("EMP1");
  CQXProfilerEmpresa none;
  WriteIni("Entrada=1\r\nSaida=1\r\n");
  // No installation in the registry: no "log.ini", nowhere to write.
  SetInstallation("");
  EXPECT_FALSE(ProfilerIsOn());
  EXPECT_FALSE(WriteError(&none));
  EXPECT_TRUE(WriteError(&company));
  // An installation folder that does not exist: one attempt, then the line is dropped.
  SetInstallation(registry_.dir() + "/missing/");
  EXPECT_FALSE(ProfilerIsOn());
  FileFaultsGuard guard;
  FileFaults::Count("QXProfilerErros");
  QXProfilerGravaErro(&none, "CQXCN_Lancamento::Grava", 0, {});
  EXPECT_EQ(FileFaults::Calls(FileOp::Open), 1u);
  EXPECT_FALSE(std::filesystem::exists(registry_.dir() + "/missing"));
}

TEST_F(ProfilerFiles, AFileHeldOpenIsTriedNineteenTimes) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni("Entrada=1\r\n");
  OneCall(&identity);
  ASSERT_EQ(Lines(ProfilerLog()).size(), 2u);
  // Held by another writer 18 times, the 19th attempt writes the line; 19 times, it is lost.
  for (const auto& [held, lines] : {std::pair{18, 3u}, {19, 3u}}) {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Open, 1, CFileException::sharingViolation, "QXProfiler.log", held);
    OneCall(&identity);
    EXPECT_EQ(Lines(ProfilerLog()).size(), lines) << held;
  }
  // A failing write loses only its own line; the next one is written.
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Write, 1, CFileException::diskFull, "QXProfiler.log");
    OneCall(&identity);
    OneCall(&identity);
  }
  EXPECT_EQ(Lines(ProfilerLog()).size(), 4u);
}

TEST(ProfilerProcessFacts, ProcessAndMachine) {
  const std::string path = ExecutablePath(), name = ExecutableFileName();
  EXPECT_TRUE(path.starts_with("/") && path.ends_with("/" + name)) << path;
  EXPECT_FALSE(OsUserName().empty() || KernelRelease().empty());
  uint32_t other = 0;
  std::thread([&] { other = CurrentThreadId(); }).join();
  EXPECT_NE(CurrentThreadId(), 0u);
  EXPECT_NE(CurrentThreadId(), other);
  EXPECT_GT(ProcessPrivateMemory(), 0);
  const PhysicalMemory machine = MachinePhysicalMemory();
  EXPECT_GT(machine.available, 0);
  EXPECT_LE(machine.available, machine.total);
}

}  // namespace
}  // namespace qx
