// A temporary installation with one company ("EMP1") and its seeded suite
// database, in a private folder with its own registry (QX_REGISTRY). Shared by
// the entry and the server tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "contract/profiler_identity.h"
#include "diagnostics/profiler_state.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/company_config.h"
#include "outside/admin/suite_setup.h"
#include "../storage/folders_test_registry.h"
#include "platform/registry.h"
#include "storage/folders/folders.h"

namespace qx {

class TestCompany {
 public:
  static constexpr char kCodigo[] = "EMP1";

  // With a connection value, the company keeps its suite data in that
  // PostgreSQL database.
  explicit TestCompany(bool ged = false, const std::string& postgres = "") {
    ForgetProfilerConfigurationForTesting();
    std::string message;
    EXPECT_EQ(CreateInstallation(Store(), root() + "/inst", &message), S_OK) << message;
    CompanySeed seed = SampleCompany(kCodigo, 2024);
    seed.ged = ged;
    EXPECT_EQ(CreateCompany(Store(), seed, root() + "/EMP1", &message, postgres), S_OK) << message;
  }
  ~TestCompany() { ForgetProfilerConfigurationForTesting(); }

  static Registry Store() { return Registry(getenv("QX_REGISTRY"), getenv("QX_REGISTRY_USER")); }

  const std::string& root() const { return registry_.dir(); }
  std::string Installation() const { return root() + "/inst/"; }
  std::string CnFolder() const { return CompanyFolder(kModuloContabilidade, kCodigo); }
  std::string DfFolder() const { return CompanyFolder(kModuloDadosBase, kCodigo); }

  // The company's suite database (null, with a failed expectation, when it
  // cannot be opened).
  static std::shared_ptr<SuiteDatabase> Database() {
    std::shared_ptr<SuiteDatabase> db;
    std::string message;
    EXPECT_EQ(OpenRegisteredCompany(Store(), kCodigo, &db, &message), S_OK) << message;
    return db;
  }
  // The change log and the document-management notices, in the order stored.
  static std::vector<RegistroLog> ChangeLog() {
    std::vector<RegistroLog> registros;
    if (const std::shared_ptr<SuiteDatabase> db = Database()) {
      EXPECT_EQ(LeLogAlteracoes(*db, &registros), S_OK);
    }
    return registros;
  }
  // The change log from record `from` on as "type service key" items, e.g. "24I1".
  static std::vector<std::string> ChangeLogItems(size_t from = 0) {
    std::vector<std::string> items;
    const std::vector<RegistroLog> log = ChangeLog();
    for (size_t i = from; i < log.size(); ++i) {
      items.push_back(std::to_string(log[i].tipo) + log[i].servico + std::to_string(log[i].chave));
    }
    return items;
  }
  static std::vector<NotificacaoGed> GedNotices() {
    std::vector<NotificacaoGed> notificacoes;
    if (const std::shared_ptr<SuiteDatabase> db = Database()) {
      EXPECT_EQ(LeNotificacoesGed(*db, &notificacoes), S_OK);
    }
    return notificacoes;
  }

  // Sets one of the company's configuration values by its admin name.
  void SetConfig(const char* name, int64_t value) const {
    const std::shared_ptr<SuiteDatabase> db = Database();
    ASSERT_TRUE(db);
    ASSERT_EQ(qx::SetConfig(*db, *FindConfigItem(name), value), S_OK) << name;
  }

  // Writes "log.ini" and makes the profiler read it at its next use.
  void WriteLogIni(const std::string& body) const {
    std::ofstream(Installation() + "log.ini") << "[Log]\r\n" << body;
    ForgetProfilerConfigurationForTesting();
  }

  // The lines of every error file of the installation and of the company.
  int ErrorLines() const {
    int lines = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root())) {
      if (entry.path().filename().string().rfind("QXProfilerErros_", 0) != 0) continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        if (line.rfind("Data\t", 0) != 0) ++lines;  // headers do not count
      }
    }
    return lines;
  }

  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  TestRegistry registry_;
};

// A sound initialisation record for the company, with its CRC.
inline _REG_DF_INICIALIZAPS RegistroInicializacao() {
  return RegistroInicializacaoCliente(
      {TestCompany::kCodigo, 1, 4096 * 3, "TESTES", "tests", "frame_test.cc", 120});
}

}  // namespace qx
