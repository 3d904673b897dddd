// Which lines the profiler writes, and how they look in "QXProfiler.log".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "diagnostics/profiler.h"
#include "diagnostics/profiler_call.h"
#include "diagnostics/profiler_files.h"
#include "diagnostics/profiler_state.h"
#include "platform/process_info.h"
#include "profiler_test_fixture.h"
#include "profiler_test_identity.h"

namespace qx {
namespace {

using ::testing::MatchesRegex;
using ProfilerLines = ProfilerTest;

void OneCall(IQXDF_Profiler* identity, std::initializer_list<ProfilerPair> pairs = {}) {
  ProfilerCall call(identity);
  call.Entry("CQXCN_Lancamento::GetCredito", pairs);
}

TEST_F(ProfilerLines, MeasuringAloneWritesNothing) {
  for (const char* ini : {"Performance=1\r\n", "Memory=1\r\n", "Performance=1\r\nMemory=1\r\n",
                          "Performance=1\r\nCoCreateInstance=1\r\n", "Entrada=2\r\nSaida=10\r\n"}) {
    WriteIni(ini);
    Expire();
    EXPECT_FALSE(ProfilerIsOn()) << ini;
    CQXProfilerEmpresa identity("EMP1", 1, 2);
    OneCall(&identity);
    ProfilerWritePeerCreation("QXCN_Lancamento Class");
    EXPECT_FALSE(std::filesystem::exists(ProfilerLog())) << ini;
  }
}

TEST_F(ProfilerLines, EntryAndExitShareAGuidOnlyWhenBothAreOn) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni("Entrada=1\r\nSaida=1\r\n");
  OneCall(&identity);
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0] + "\n", ProfilerFileHeader());
  auto entry = Columns(lines[1]), exit = Columns(lines[2]);
  EXPECT_EQ(entry[21], "ENTROU");
  EXPECT_EQ(exit[21], "SAIU");
  EXPECT_THAT(entry[5], MatchesRegex("[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}"));
  EXPECT_EQ(entry[5], exit[5]);
  OneCall(&identity);
  lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NE(Columns(lines[3])[5], entry[5]);  // a new id per call

  // One side alone: its line only, without an id.
  for (const auto& [ini, type] : {std::pair{"Saida=1\r\n", "SAIU"}, {"Entrada=1\r\n", "ENTROU"}}) {
    SCOPED_TRACE(ini);
    std::filesystem::remove(ProfilerLog());
    WriteIni(ini);
    Expire();
    OneCall(&identity);
    lines = Lines(ProfilerLog());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Columns(lines[1])[21], type);
    EXPECT_EQ(Columns(lines[1])[5], "");
  }
}

TEST_F(ProfilerLines, ProcessFilter) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  std::string name = ProcessBaseName();
  WriteIni("Entrada=1\r\nProcessos=qxfolha;qxcaixa\r\n");
  OneCall(&identity);
  EXPECT_FALSE(std::filesystem::exists(ProfilerLog()));

  WriteIni("Entrada=1\r\nProcessos=QXFOLHA;" + name.substr(1, 5) + "\r\n");
  Expire();
  OneCall(&identity);
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Columns(lines[1])[2], name);
}

TEST_F(ProfilerLines, ValueWithLineFeedStaysOnItsLine) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni("Entrada=1\r\n");
  OneCall(&identity, {{"Texto", "primeira\nsegunda\r\nterceira"}, {"Conta", "12"}});
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  auto columns = Columns(lines[1]);
  EXPECT_EQ(columns[27], "Texto = primeirasegundaterceira");
  EXPECT_EQ(columns[28], "Conta = 12");
}

// One complete entry/exit pair, column by column; the columns that change
// from run to run are checked by form only.
TEST_F(ProfilerLines, GoldenEntryExitPair) {
  TestIdentity identity("EMP1");
  WriteIni("Entrada=1\r\nSaida=1\r\nPerformance=1\r\nMemory=1\r\nTimeoutConfig=600\r\n");
  {
    ProfilerCall call(&identity);
    call.Entry("CQXCN_Lancamento::GravaConferido",
               {{"MesAno", "123"}, {"IndLan", "45"}, {"cConferido", "S"}});
    Tick() += 250;
  }
  char thread[16];
  std::snprintf(thread, sizeof thread, "T%08d", static_cast<int>(CurrentThreadId()));
  const std::string fixed = std::string("\t") + ProcessBaseName() + "\t" + OsUserName() +
                            "\tCQXCN_Lancamento::GravaConferido\t<GUID>\tEEMP1\tU007\tS00123456\t" +
                            thread +
                            "\tEMP1\t7\t123456\tDOM\\joao\tQXCONTAB\tCN\tlanc.cpp\t42\t1\t0\t\t";
  const std::string pairs = "\tMesAno = 123\tIndLan = 45\tcConferido = S\t";
  const std::vector<std::string> golden = {
      "<DATE>\t<TIME>" + fixed + "ENTROU\t<MEM>\t<MEM>\t<MEM>\t0\t0" + pairs,
      "<DATE>\t<TIME>" + fixed + "SAIU\t<MEM>\t<MEM>\t<MEM>\t250\t<MEM>" + pairs,
  };

  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 3u);
  for (size_t i = 0; i < golden.size(); ++i) {
    auto columns = Columns(lines[i + 1]);
    auto expected = Columns(golden[i]);
    ASSERT_EQ(columns.size(), expected.size()) << lines[i + 1];
    EXPECT_THAT(columns[0], MatchesRegex("[0-9]{2}/[0-9]{2}/[0-9]{4}"));
    EXPECT_THAT(columns[1], MatchesRegex("[0-9]{2}:[0-9]{2}:[0-9]{2}[.][0-9]{3}"));
    EXPECT_EQ(columns[5].size(), 36u);
    for (size_t c = 0; c < columns.size(); ++c) {
      if (expected[c] == "<MEM>") {
        EXPECT_THAT(columns[c], MatchesRegex("[0-9]+"));
      }
      if (!expected[c].empty() && expected[c].front() == '<') continue;
      EXPECT_EQ(columns[c], expected[c]) << "line " << i + 1 << " column " << c;
    }
  }
  EXPECT_EQ(Columns(lines[1])[5], Columns(lines[2])[5]);
  EXPECT_GT(std::stoll(Columns(lines[1])[24]), 0);  // memory at entry was measured
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
}

TEST_F(ProfilerLines, PeerCreationLine) {
  WriteIni("CoCreateInstance=1\r\n");
  EXPECT_TRUE(ProfilerIsOn());
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  OneCall(&identity);  // calls are not written
  ProfilerWritePeerCreation("QXCN_Lancamento Class");
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  auto columns = Columns(lines[1]);
  ASSERT_EQ(columns.size(), 27u);
  EXPECT_EQ(columns[4], "QXCoCreateInstance");
  EXPECT_EQ(columns[5].size(), 36u);
  EXPECT_EQ(columns[6], "E");
  EXPECT_EQ(columns[7], "U000");
  EXPECT_EQ(columns[21], "COCREATE");
  EXPECT_EQ(columns[24], "ProgID = QXCN_Lancamento");
  EXPECT_EQ(columns[25], "Modulo = " + ExecutableFileName());
}

}  // namespace
}  // namespace qx
