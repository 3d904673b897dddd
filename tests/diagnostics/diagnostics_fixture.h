// The fixtures of the diagnostics tests: a temporary installation of this server's module,
// optionally with the stand-ins of the suite's QXMens and QXLMensagem libraries in its "x64"
// folder, and readers of the files and lines written into it; for the profiler, an identity
// with an initialisation record and an installation with the company "EMP1", its base data
// folder in the registry, "log.ini", and a tick count the tests move by hand.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../storage/folders_test_registry.h"
#include "contract/profiler_identity.h"
#include "diagnostics/profiler_state.h"
#include "platform/clock.h"
#include "platform/process_info.h"

namespace qx {

class TestInstallation : public TestRegistry {
 public:
  explicit TestInstallation(bool withLibraries) : folder_(Installation(kModuloInstalacao, "inst")) {
    if (!withLibraries) return;
    std::filesystem::create_symlink(QX_FAKE_QXMENS, folder_ + "x64/QXMens.so");
    std::filesystem::create_symlink(QX_FAKE_QXLMENSAGEM, folder_ + "x64/QXLMensagem.so");
  }

  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

using test::ReadText;

// A line's tab-separated columns, an empty last one included.
inline std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    columns.push_back(line.substr(start, tab - start));
  columns.push_back(line.substr(start));
  return columns;
}

// The columns of a record of this thread up to its kind: date, time, process, user, function,
// pairing id (by form), and the identity of TestIdentity("EMP1") or of none.
inline std::string RecordStart(const std::string& funcao, bool emp1) {
  char thread[16];
  std::snprintf(thread, sizeof thread, "\tT%08d\t", static_cast<int>(CurrentThreadId()));
  return "<DATE>\t<TIME>\t" + ProcessBaseName() + "\t" + OsUserName() + "\t" + funcao +
         "\t<GUID>\t" + (emp1 ? "EEMP1\tU007\tS00123456" : "E\tU000\tS00000000") + thread +
         (emp1 ? "EMP1\t7\t123456\tDOM\\joao\tQXCONTAB\tCN\tlanc.cpp\t42\t1\t0\t\t"
               : "\t0\t0\t\t\t\t\t0\t0\t0\t\t");
}

// Compares line with golden column by column; a golden column "<DATE>",
// "<TIME>", "<GUID>" or "<N>" (a number) is checked by its form only.
inline void ExpectGolden(const std::string& line, const std::string& golden) {
  static const std::map<std::string, std::string> forms = {
      {"<DATE>", "[0-9]{2}/[0-9]{2}/[0-9]{4}"},
      {"<TIME>", "[0-9]{2}:[0-9]{2}:[0-9]{2}[.][0-9]{3}"},
      {"<GUID>", "[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}"},
      {"<N>", "[0-9]+"}};
  const std::vector<std::string> columns = Columns(line), expected = Columns(golden);
  ASSERT_EQ(columns.size(), expected.size()) << line;
  for (size_t c = 0; c < columns.size(); ++c) {
    const auto form = forms.find(expected[c]);
    if (form == forms.end()) {
      EXPECT_EQ(columns[c], expected[c]) << "column " << c << " of " << line;
    } else {
      EXPECT_THAT(columns[c], ::testing::MatchesRegex(form->second)) << "column " << c;
    }
  }
}

class TestIdentity final : public IQXDF_Profiler {
 public:
  explicit TestIdentity(const char* empresa, unsigned short usuario = 7) {
    std::strncpy(record_.szEmpresa, empresa, sizeof record_.szEmpresa - 1);
    record_.ulUsuario = usuario;
    record_.ulNumeroSessao = 123456;
    std::strcpy(record_.szNomeUsuarioDominio, "DOM\\joao");
    std::strcpy(record_.szAplicativo, "QXCONTAB");
    std::strcpy(record_.szModuleName, "CN");
    std::strcpy(record_.szArquivoFonte, "lanc.cpp");
    record_.ulLinhaFonte = 42;
    record_.cWTS = 1;
    record_.cControle = 'B';
  }
  const char* GetEmpresa() override { return record_.szEmpresa; }
  unsigned short GetUsuario() override { return record_.ulUsuario; }
  uint32_t GetNumeroSessao() override { return record_.ulNumeroSessao; }
  const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() override { return &record_; }

  _REG_DF_INICIALIZAPS& record() { return record_; }

 private:
  _REG_DF_INICIALIZAPS record_{};
};

class ProfilerTest : public ::testing::Test {
 protected:
  static std::atomic<uint64_t>& Tick() {
    static std::atomic<uint64_t> tick{1'000'000};
    return tick;
  }
  // The next use reads "log.ini" again.
  static void Expire() { ForgetProfilerConfigurationForTesting(); }
  static void SetUpTestSuite() {
    SetTickSourceForTesting([] { return Tick().load(); });
  }
  static void TearDownTestSuite() { SetTickSourceForTesting({}); }

  ProfilerTest() {
    std::filesystem::create_directories(company_);
    registry_.Set("Empresas\\EMP1", "DF", company_);
    Expire();
  }
  ~ProfilerTest() override { Expire(); }

  // Makes folder the installation folder; none when it is empty.
  void SetInstallation(const std::string& folder) {
    const std::string key = std::string(kSuiteKey) + "\\" +
                            std::string(FindSuiteModule(kModuloInstalacao)->registryName);
    EXPECT_EQ(folder.empty() ? RegDeleteValue(key, "Path") : RegSetString(key, "Path", folder),
              ERROR_SUCCESS);
    Expire();
  }

  void WriteIni(const std::string& body) {
    std::ofstream(installation_ + "log.ini") << "[Log]\r\n" << body;
  }

  std::string ProfilerLog() const { return installation_ + "QXProfiler.log"; }

  // The file's lines without their line feeds.
  static std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadText(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  TestInstallation registry_{false};
  const std::string installation_ = registry_.folder();
  const std::string company_ = registry_.dir() + "/EMP1/DF/";
};

}  // namespace qx
