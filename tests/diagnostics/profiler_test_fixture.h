// For the profiler tests: an identity with an initialisation record, and a temporary
// installation with the company "EMP1" and its base data folder in the registry, "log.ini",
// and a tick count the tests move by hand.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "contract/profiler_identity.h"
#include "diagnostics/profiler_state.h"
#include "errors_test_installation.h"
#include "platform/clock.h"

namespace qx {

class TestIdentity final : public IQXDF_Profiler {
 public:
  explicit TestIdentity(const char* empresa, unsigned short usuario = 7, uint32_t sessao = 123456)
      : empresa_(empresa), usuario_(usuario), sessao_(sessao) {
    std::strncpy(record_.szEmpresa, empresa, sizeof record_.szEmpresa - 1);
    record_.ulUsuario = usuario;
    record_.ulNumeroSessao = sessao;
    std::strcpy(record_.szNomeUsuarioDominio, "DOM\\joao");
    std::strcpy(record_.szAplicativo, "QXCONTAB");
    std::strcpy(record_.szModuleName, "CN");
    std::strcpy(record_.szArquivoFonte, "lanc.cpp");
    record_.ulLinhaFonte = 42;
    record_.cWTS = 1;
    record_.cControle = 'B';
  }
  const char* GetEmpresa() override { return empresa_; }
  unsigned short GetUsuario() override { return usuario_; }
  uint32_t GetNumeroSessao() override { return sessao_; }
  const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() override { return &record_; }

  _REG_DF_INICIALIZAPS& record() { return record_; }

 private:
  const char* empresa_;
  unsigned short usuario_;
  uint32_t sessao_;
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
    std::istringstream in(ReadAll(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  TestInstallation registry_{false};
  const std::string installation_ = registry_.folder();
  const std::string company_ = registry_.dir() + "/EMP1/DF/";
};

}  // namespace qx
