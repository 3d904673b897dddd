// Where the profiler's lines go, concurrent writers, and the lines that
// cannot be written.
#include "diagnostics/profiler_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

#include "diagnostics/profiler.h"
#include "diagnostics/profiler_call.h"
#include "diagnostics/profiler_state.h"
#include "diagnostics/profiler_writer.h"
#include "platform/file_exception.h"
#include "platform/file_faults.h"
#include "profiler_test_fixture.h"
#include "profiler_test_identity.h"

namespace qx {
namespace {

using ProfilerFiles = ProfilerTest;

ProfilerRecord ErrorIn(IQXDF_Profiler* identity, uint16_t year, uint16_t month) {
  ProfilerRecord record;
  record.dataHora = SYSTEMTIME{year, month, 0, 17, 10, 20, 30, 400};
  record.identidade = identity;
  record.funcao = "CQXCN_Lancamento::Grava";
  record.valores = {"0.1.0.0", "6.1", "QXCN_Lancamento", "120", "hr = pfInSEHFuncao()"};
  return record;
}

void Call(IQXDF_Profiler* identity) { ProfilerCall(identity).Entry("CQXCN_Lancamento::Grava"); }

TEST_F(ProfilerFiles, FailureGoesToTheMonthFileOfItsCompany) {
  TestIdentity company("EMP1");
  ASSERT_TRUE(WriteProfilerRecord(ErrorIn(&company, 2025, 3), ProfilerRecordType::kErro));
  ASSERT_TRUE(WriteProfilerRecord(ErrorIn(&company, 2025, 3), ProfilerRecordType::kErro));
  auto lines = Lines(company_ + "QXProfilerErros_Base_202503.log");
  ASSERT_EQ(lines.size(), 3u);  // one header, two records
  EXPECT_EQ(lines[0] + "\n", ErrorFileHeader());
  auto columns = Columns(lines[1]);
  EXPECT_EQ(columns[0], "17/03/2025");
  EXPECT_EQ(columns[1], "10:20:30.400");
  EXPECT_EQ(columns[21], "ERRO");
  EXPECT_EQ(columns[28], "120");
  EXPECT_EQ(columns[29], "hr = pfInSEHFuncao()");

  // Without a company, or for a company without a base data folder: the
  // programs' file in the installation folder.
  CQXProfilerEmpresa none;
  TestIdentity unknown("EMP9");
  ASSERT_TRUE(WriteProfilerRecord(ErrorIn(&none, 2025, 3), ProfilerRecordType::kErro));
  ASSERT_TRUE(WriteProfilerRecord(ErrorIn(nullptr, 2025, 4), ProfilerRecordType::kErro));
  ASSERT_TRUE(WriteProfilerRecord(ErrorIn(&unknown, 2025, 4), ProfilerRecordType::kErro));
  EXPECT_EQ(Lines(installation_ + "QXProfilerErros_Pgms_202503.log").size(), 2u);
  EXPECT_EQ(Lines(installation_ + "QXProfilerErros_Pgms_202504.log").size(), 3u);
}

TEST_F(ProfilerFiles, FailureIsWrittenWhateverTheConfiguration) {
  WriteIni("Entrada=0\r\nProcessos=nenhum\r\n");
  TestIdentity company("EMP1");
  QXProfilerGravaErro(&company, "CQXCN_Lancamento::Grava", 1234,
                      {"0.1.0.0", "6.1", "QXCN_Lancamento", "88", "linha\r\ndo log"});
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(company_))
    files.push_back(entry.path().filename());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].rfind("QXProfilerErros_Base_", 0), 0u);
  auto lines = Lines(company_ + files[0]);
  ASSERT_EQ(lines.size(), 2u);
  auto columns = Columns(lines[1]);
  EXPECT_EQ(columns[5].size(), 36u);  // a failure always has a pairing id
  EXPECT_EQ(columns[24], "1234");
  EXPECT_EQ(columns[29], "linhado log");
}

TEST_F(ProfilerFiles, ConcurrentWritersNeverInterleave) {
  WriteIni("Entrada=1\r\n");
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  constexpr int kThreads = 8, kLines = 1000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &identity] {
      for (int n = 0; n < kLines; ++n) {
        ProfilerCall call(&identity);
        call.Entry("CQXCN_Lancamento::Grava",
                   {{"Fio", std::to_string(t)}, {"Linha", std::to_string(n)}});
      }
    });
  }
  for (auto& thread : threads) thread.join();

  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 1u + kThreads * kLines);
  EXPECT_EQ(lines[0] + "\n", ProfilerFileHeader());
  std::set<std::string> seen;
  for (size_t i = 1; i < lines.size(); ++i) {
    auto columns = Columns(lines[i]);
    ASSERT_EQ(columns.size(), 30u) << lines[i];
    ASSERT_EQ(columns[21], "ENTROU");
    seen.insert(columns[27] + "/" + columns[28]);
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

TEST_F(ProfilerFiles, GarbageConfigurationKeepsTheProfilerOff) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni(
      "Entrada=yes\r\nSaida=-1\r\nCoCreateInstance=\r\n=1\r\nsem sinal de igual\r\n"
      "\x01\xff\xfe=\x80\r\nTimeoutConfig=-30\r\nProcessos=" +
      std::string(5000, 'x') + "\r\n");
  EXPECT_FALSE(ProfilerIsOn());
  Call(&identity);
  EXPECT_FALSE(std::filesystem::exists(ProfilerLog()));
  // A negative timeout counts as 0: the next use reads again.
  WriteIni("Entrada=1\r\n");
  EXPECT_TRUE(ProfilerIsOn());
  // "Processos" longer than its 260 characters is cut, so "todos" is lost.
  WriteIni("Entrada=1\r\nProcessos=" + std::string(300, 'x') + ";todos\r\n");
  Expire();
  Call(&identity);
  EXPECT_FALSE(std::filesystem::exists(ProfilerLog()));
}

TEST_F(ProfilerFiles, NoInstallationFolderDropsTheLines) {
  TestIdentity company("EMP1");
  CQXProfilerEmpresa none;
  WriteIni("Entrada=1\r\nSaida=1\r\n");
  // No installation in the registry: no "log.ini", nowhere to write.
  SetInstallation("");
  EXPECT_FALSE(ProfilerIsOn());
  EXPECT_FALSE(WriteProfilerRecord(ErrorIn(&none, 2025, 3), ProfilerRecordType::kErro));
  EXPECT_TRUE(WriteProfilerRecord(ErrorIn(&company, 2025, 3), ProfilerRecordType::kErro));

  // An installation folder that does not exist: one attempt, then the line is dropped.
  SetInstallation(registry_.dir() + "/missing/");
  EXPECT_FALSE(ProfilerIsOn());
  FileFaultsGuard guard;
  FileFaults::Count("QXProfilerErros");
  QXProfilerGravaErro(&none, "CQXCN_Lancamento::Grava", 0, {});
  EXPECT_EQ(FileFaults::Calls(FileOp::Open), 1u);
  EXPECT_FALSE(std::filesystem::exists(registry_.dir() + "/missing"));
}

TEST_F(ProfilerFiles, UnwritableFileIsTriedNineteenTimes) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni("Entrada=1\r\n");
  Call(&identity);
  ASSERT_EQ(Lines(ProfilerLog()).size(), 2u);
  std::string before = ReadAll(ProfilerLog());

  std::filesystem::permissions(ProfilerLog(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
  {
    FileFaultsGuard guard;
    FileFaults::Count("QXProfiler.log");
    Call(&identity);
    EXPECT_EQ(FileFaults::Calls(FileOp::Open), 19u);
  }
  EXPECT_EQ(ReadAll(ProfilerLog()), before);
  std::filesystem::permissions(ProfilerLog(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);

  // Held by another writer 18 times, the 19th attempt writes the line; 19 times, it is lost.
  for (const auto& [held, lines] : {std::pair{18, 3u}, {19, 3u}}) {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Open, 1, CFileException::sharingViolation, "QXProfiler.log", held);
    Call(&identity);
    EXPECT_EQ(Lines(ProfilerLog()).size(), lines) << held;
  }
  // A failing write loses only its own line; the next one is written.
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Write, 1, CFileException::diskFull, "QXProfiler.log");
    Call(&identity);
    Call(&identity);
  }
  EXPECT_EQ(Lines(ProfilerLog()).size(), 4u);
}

}  // namespace
}  // namespace qx
