// Databases that cannot be used: each gives a clear code and message, is
// kept as the last error and in the error log, and is never written.
#include <sqlite3.h>

#include <string>

#include "outside/outside_codes.h"
#include "outside/qx_base_para_rotinas.h"
#include "outside_test_company.h"

namespace qx {
namespace {

class DatabaseRefusalTest : public OutsideTest {
 protected:
  // Initialises an object for the test company and expects code, with the
  // message (which must contain what) kept as the last error and logged.
  void ExpectRefused(HRESULT code, const std::string& what) {
    CQXBaseParaRotinas rotinas;
    EXPECT_EQ(rotinas.Inicializa(kTestCompany, 1, 1), code);
    EXPECT_FALSE(rotinas.EstaInicializado());
    EXPECT_EQ(rotinas.GetUltimoHR(), code);
    EXPECT_NE(rotinas.GetErro().strMensagem.find(what), std::string::npos)
        << rotinas.GetErro().strMensagem;
    _REG_DF_ERROPS record;
    rotinas.GetErro().CopiarPara(&record);
    EXPECT_EQ(record.hr, code);
    EXPECT_STREQ(record.szEmpresa, kTestCompany);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%#X", static_cast<unsigned>(code));
    const std::string log = ErrorFiles(DfFolder());
    EXPECT_NE(log.find(hex), std::string::npos) << log;
    EXPECT_NE(log.find(what), std::string::npos);
  }
};

TEST_F(DatabaseRefusalTest, MissingCompanyOrDatabase) {
  CQXBaseParaRotinas rotinas;
  EXPECT_EQ(rotinas.Inicializa("NINGUEM", 1, 1), E_QXDF_EMPRESA_SEM_PASTA);
  EXPECT_NE(rotinas.GetErro().strMensagem.find("NINGUEM"), std::string::npos);

  MakeCompany();
  std::filesystem::remove(DatabasePath());
  ExpectRefused(E_QXDF_BANCO_INDISPONIVEL, kSuiteDatabaseName);
  EXPECT_FALSE(std::filesystem::exists(DatabasePath()));  // not created by a reader
}

TEST_F(DatabaseRefusalTest, FilesThatAreNoSuiteDatabase) {
  MakeCompany();
  const std::string garbage(4096, 'x');
  WriteFile(DatabasePath(), garbage);
  ExpectRefused(E_QXDF_BANCO_INVALIDO, "n\xE3o \xE9 um banco de dados");
  EXPECT_EQ(ReadFile(DatabasePath()), garbage);

  // An empty file: no company was ever made in it.
  WriteFile(DatabasePath(), "");
  ExpectRefused(E_QXDF_BANCO_INVALIDO, "vazio");

  // Another program's SQLite database.
  std::filesystem::remove(DatabasePath());
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE t (x)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  ExpectRefused(E_QXDF_BANCO_INVALIDO, "do sistema");
}

TEST_F(DatabaseRefusalTest, NewerSchemaIsRefusedAndLeftAlone) {
  MakeCompany();
  {
    auto db = Open();
    ASSERT_EQ(db->Execute("PRAGMA user_version = 99"), S_OK);
  }
  ExpectRefused(E_QXDF_BANCO_VERSAO_NOVA, "99");
  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  EXPECT_EQ(SuiteDatabase::Open(DatabasePath(), SuiteDatabase::Mode::kCreate, &db, &message),
            E_QXDF_BANCO_VERSAO_NOVA);
  EXPECT_EQ(db, nullptr);
}

TEST_F(DatabaseRefusalTest, LockedDatabaseGivesBusyAndRecovers) {
  MakeCompany();
  SetSuiteBusyTimeoutForTesting(20);
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder,
                         "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                         "UPDATE empresa SET nome = nome",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  ExpectRefused(E_QXDF_BANCO_OCUPADO, "bloqueado");
  sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(holder);

  CQXBaseParaRotinas rotinas;
  EXPECT_EQ(rotinas.Inicializa(kTestCompany, 1, 1), S_OK);
}

}  // namespace
}  // namespace qx
