// Which lines the profiler writes, and how they look in "QXProfiler.log".
#include <gtest/gtest.h>

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

using ProfilerLines = ProfilerTest;

void OneCall(IQXDF_Profiler* identity, std::initializer_list<ProfilerPair> pairs = {}) {
  ProfilerCall call(identity);
  call.Entry("CQXCN_Lancamento::GravaConferido", pairs);
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
  OneCall(&identity);
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0] + "\n", ProfilerFileHeader());
  EXPECT_EQ(Columns(lines[1])[21], "ENTROU");
  EXPECT_EQ(Columns(lines[2])[21], "SAIU");
  EXPECT_EQ(Columns(lines[1])[5].size(), 36u);
  EXPECT_EQ(Columns(lines[1])[5], Columns(lines[2])[5]);
  EXPECT_NE(Columns(lines[3])[5], Columns(lines[1])[5]);  // a new id per call

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
}

TEST_F(ProfilerLines, ProcessFilter) {
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  WriteIni("Entrada=1\r\nProcessos=qxfolha;qxcaixa\r\n");
  OneCall(&identity);
  EXPECT_FALSE(std::filesystem::exists(ProfilerLog()));

  const std::string name = ProcessBaseName();
  WriteIni("Entrada=1\r\nProcessos=QXFOLHA;" + name.substr(1, 5) + "\r\n");
  Expire();
  OneCall(&identity);
  auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Columns(lines[1])[2], name);
}

// One complete entry/exit pair, column by column.
TEST_F(ProfilerLines, GoldenEntryExitPair) {
  TestIdentity identity("EMP1");
  WriteIni("Entrada=1\r\nSaida=1\r\nPerformance=1\r\nMemory=1\r\nTimeoutConfig=600\r\n");
  {
    ProfilerCall call(&identity);
    call.Entry("CQXCN_Lancamento::GravaConferido",
               {{"MesAno", "123"}, {"IndLan", "45"}, {"cConferido", "S"}});
    Tick() += 250;
  }
  const std::string start = RecordStart("CQXCN_Lancamento::GravaConferido") +
                            "EEMP1\tU007\tS00123456\t" + ThreadColumn() +
                            "\tEMP1\t7\t123456\tDOM\\joao\tQXCONTAB\tCN\tlanc.cpp\t42\t1\t0\t\t";
  const std::string pairs = "\tMesAno = 123\tIndLan = 45\tcConferido = S\t";
  const auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 3u);
  ExpectGolden(lines[1], start + "ENTROU\t<N>\t<N>\t<N>\t0\t0" + pairs);
  ExpectGolden(lines[2], start + "SAIU\t<N>\t<N>\t<N>\t250\t<N>" + pairs);
  EXPECT_EQ(Columns(lines[1])[5], Columns(lines[2])[5]);
  EXPECT_GT(std::stoll(Columns(lines[1])[24]), 0);  // memory at entry was measured
}

TEST_F(ProfilerLines, PeerCreationLine) {
  WriteIni("CoCreateInstance=1\r\n");
  EXPECT_TRUE(ProfilerIsOn());
  CQXProfilerEmpresa identity("EMP1", 1, 2);
  OneCall(&identity);  // calls are not written
  ProfilerWritePeerCreation("QXCN_Lancamento Class");
  const auto lines = Lines(ProfilerLog());
  ASSERT_EQ(lines.size(), 2u);
  ExpectGolden(lines[1], RecordStart("QXCoCreateInstance") + "E\tU000\tS00000000\t" +
                             ThreadColumn() + "\t\t0\t0\t\t\t\t\t0\t0\t0\t\tCOCREATE\t<N>\t<N>\t" +
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
}

}  // namespace
}  // namespace qx
