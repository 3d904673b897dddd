// A temporary installation with one seeded company, made by the same code as
// the admin tool, and the helpers the tests of the company access share.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "../platform/test_support.h"
#include "../storage/folders_test_registry.h"
#include "diagnostics/profiler_state.h"
#include "outside/admin/suite_setup.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "outside/database/sql_statement.h"
#include "outside/database/suite_database.h"
#include "platform/path.h"
#include "private_postgres.h"

namespace qx {

inline constexpr char kTestCompany[] = "ACME";
inline constexpr int kTestYear = 2024;

using test::ReadText;
using test::WriteText;

class OutsideTest : public ::testing::Test {
 protected:
  using Backend = SuiteDatabase::Backend;
  OutsideTest() {
    ForgetProfilerConfigurationForTesting();
    std::string message;
    EXPECT_EQ(CreateInstallation(Registry::Default(), registry_.dir() + "/inst", &message), S_OK)
        << message;
  }
  ~OutsideTest() override {
    SetSuiteBusyTimeoutForTesting(0);
    ForgetProfilerConfigurationForTesting();
  }
  void SetUp() override {
    if (backend_ == Backend::kPostgres && test::PrivatePostgres::Get().folder().empty()) {
      GTEST_SKIP() << test::PrivatePostgres::Get().why();
    }
  }

  // Creates a company from the sample seed, changed by adjust, on the
  // backend of the test (on PostgreSQL, in a schema of its own).
  template <typename Adjust>
  void MakeCompany(const std::string& code, Adjust adjust) {
    CompanySeed seed = SampleCompany(code, kTestYear);
    adjust(seed);
    std::string message;
    if (backend_ == Backend::kPostgres) connection_ = test::PrivatePostgres::Get().NewSchema();
    ASSERT_EQ(CreateCompany(Registry::Default(), seed, "", &message, connection_), S_OK) << message;
  }
  void MakeCompany(const std::string& code = kTestCompany) {
    MakeCompany(code, [](CompanySeed&) {});
  }

  std::string DfFolder(const std::string& code = kTestCompany) const {
    return RegisteredCompanyFolder(Registry::Default(), code);
  }
  std::string DatabasePath(const std::string& code = kTestCompany) const {
    return JoinPath(DfFolder(code), kSuiteDatabaseName);
  }
  std::shared_ptr<SuiteDatabase> Open(const std::string& code = kTestCompany) const {
    std::shared_ptr<SuiteDatabase> db;
    std::string message;
    EXPECT_EQ(OpenRegisteredCompany(Registry::Default(), code, &db, &message), S_OK) << message;
    return db;
  }

  // Everything the error files of a folder hold.
  static std::string ErrorFiles(const std::string& folder) {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().filename().string().starts_with("QXProfilerErros_")) {
        text += ReadText(entry.path());
      }
    }
    return text;
  }

  TestRegistry registry_;
  Backend backend_ = Backend::kSqlite;
  std::string connection_;  // of the last company made on PostgreSQL
};

// The tests of a fixture, once on each backend (QX_ON_BOTH_BACKENDS).
template <class Fixture>
class OnBothBackends : public Fixture,
                       public ::testing::WithParamInterface<SuiteDatabase::Backend> {
 public:
  OnBothBackends() { this->backend_ = this->GetParam(); }
};

inline std::string BackendName(const ::testing::TestParamInfo<SuiteDatabase::Backend>& info) {
  return info.param == SuiteDatabase::Backend::kSqlite ? "Sqlite" : "Postgres";
}

#define QX_ON_BOTH_BACKENDS(Suite)                                                     \
  INSTANTIATE_TEST_SUITE_P(, Suite,                                                    \
                           ::testing::Values(::qx::SuiteDatabase::Backend::kSqlite,    \
                                             ::qx::SuiteDatabase::Backend::kPostgres), \
                           ::qx::BackendName)

// The change log of an initialised object.
inline CQXComPtr<IQXDF_Log> LogOf(CQXBaseParaRotinas& rotinas) {
  CQXComPtr<IQXDF_Log> log;
  EXPECT_EQ(rotinas.GetAcessoEmpresarial()->GetIDFLog(log), S_OK);
  return log;
}

// The first value of the first row of a query.
inline int64_t Scalar(SuiteDatabase& db, const char* sql) {
  SqlStatement query(db, sql);
  EXPECT_EQ(query.StepOne(), S_OK) << sql << ": " << db.message();
  return query.Int(0);
}

// A field of a record read at its byte offset, as another program would.
template <typename T, typename Record>
T At(const Record& record, size_t offset) {
  T value;
  std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
  return value;
}

}  // namespace qx
