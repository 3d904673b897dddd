// Moving a company between SQLite and PostgreSQL with qxadmin: what the
// company reads is the same after the way there and the way back, ids go on
// growing, and a move that cannot finish, or that finds the company open,
// leaves it where it was.
#include "../storage/qxdump_run.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/company_registration.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "outside/database/company_database.h"
#include "outside/database/import_batches.h"
#include "outside/database/naturezas.h"
#include "outside/database/outside_codes.h"
#include "outside/database/postgres_connection.h"
#include "outside/database/sessions.h"
#include "outside/database/sql_statement.h"
#include "outside_test_company.h"

namespace qx {
namespace {

class CompanyMoveTest : public OutsideTest {
 protected:
  void SetUp() override {
    if (test::PrivatePostgres::Get().folder().empty()) {
      GTEST_SKIP() << test::PrivatePostgres::Get().why();
    }
  }
  test::DumpRun Admin(const std::vector<std::string>& args) const {
    return test::RunTool(dir_, QX_TEST_BINARY_DIR "/tools/qxadmin/qxadmin", args);
  }
  // What people read of the company, by qxadmin.
  std::string Reads() const {
    std::string all;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"log", "list", kTestCompany, "--json"},
             {"log", "list", kTestCompany, "--sessao", "16385", "--json"},
             {"user", "list", kTestCompany, "--json"},
             {"account", "list", kTestCompany, "--json"},
             {"config", "show", kTestCompany, "--json"},
             {"natureza", "lista", kTestCompany, "--json"},
             {"cadastro", "mostra", kTestCompany, "--json"},
             {"signatario", "lista", kTestCompany, "--json"},
             {"aglutinacao", "lista", kTestCompany, "--json"}}) {
      const test::DumpRun run = Admin(args);
      EXPECT_EQ(run.code, 0) << run.err;
      all += run.out;
    }
    return all;
  }
  std::string Connection() const {
    std::string value;
    RegGetString(std::string(kCompaniesKey) + "\\" + kTestCompany, kConexaoPostgreSQL, &value);
    return value;
  }
  int64_t LastLogId() const { return Scalar(*Open(), "SELECT max(id) FROM log_alteracoes"); }
  test::TempDir dir_;
};

TEST_F(CompanyMoveTest, ThereAndBackReadsTheSameAndRefusesWhatCannotFinish) {
  MakeCompany();
  {
    // Records enough for some of their events to be filed, a check, a
    // session handed out, a batch and what it took in, a locked document and
    // the company's registration.
    CQXBaseParaRotinas rotinas;
    ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 0x4001), S_OK);
    CQXComPtr<IQXDF_Log> log = LogOf(rotinas);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(log->Grava(0x4001, i, 24, 'I', 3, "a\0b"), S_OK);
    ASSERT_EQ(log->GravaConferencia(0x4001, 0x3018, 1, 0, 0, 1), S_OK);
    const std::shared_ptr<SuiteDatabase> db = Open();
    uint32_t sessao = 0;
    ASSERT_EQ(NovaSessao(*db, 1, "TESTE", &sessao), S_OK);
    ASSERT_EQ(ReservaLoteImportacao(*db, 7), S_OK);
    ASSERT_EQ(RegistraLinhasLote(*db, 7, "d1", 3), S_OK);
    CadastroPJ cadastro;
    cadastro.nire = "12345678901";
    ASSERT_EQ(GravaCadastroPJ(*db, cadastro), S_OK);
    ASSERT_EQ(AdicionaSignatario(*db, {"Ana", "52998224725", "205", "", "", "", 0, "", "", true}),
              S_OK);
    ASSERT_EQ(DefineAglutinacao(*db, {5, "BCO", "Bancos"}), S_OK);
    ASSERT_EQ(DefineNatureza(*db, {"1.1", Natureza::kCompensacao}), S_OK);
    ASSERT_EQ(DefineDocumentoBloqueado(*db, 5, true), S_OK);
  }
  const int64_t lastId = LastLogId();
  const auto there = [&](const std::string& postgres) {
    return Admin({"company", "move", kTestCompany, "--postgresql", postgres, "--json"});
  };
  const std::string postgres = test::PrivatePostgres::Get().NewSchema();

  // Open somewhere, the company stays; so it does when a row will not go.
  {
    CQXBaseParaRotinas aberta;
    ASSERT_EQ(aberta.Inicializa(kTestCompany, 1, 1), S_OK);
    const test::DumpRun refused = there(postgres);
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("E_QXDF_EMPRESA_EM_USO"), std::string::npos) << refused.err;
  }
  const auto setName = [&](const char* sql) {
    const std::shared_ptr<SuiteDatabase> db = Open();
    ASSERT_EQ(db->Write([&] { return db->Execute(sql); }), S_OK);
  };
  setName("UPDATE filiais SET nome = x'00ff' WHERE numero = 3");
  EXPECT_EQ(there(postgres).code, 1);
  EXPECT_EQ(Connection(), "");
  setName("UPDATE filiais SET nome = 'Filial 3' WHERE numero = 3");
  const std::string before = Reads();

  // There, the same table by table, and the company reads the same.
  const test::DumpRun toPostgres = there(postgres);
  ASSERT_EQ(toPostgres.code, 0) << toPostgres.err;
  EXPECT_NE(toPostgres.out.find("\"log_eventos\""), std::string::npos) << toPostgres.out;
  EXPECT_EQ(Connection(), postgres);
  EXPECT_EQ(Open()->backend(), SuiteDatabase::Backend::kPostgres);
  EXPECT_EQ(Reads(), before);
  EXPECT_EQ(there(postgres).code, 1);  // there already

  // Back, the same figures again.
  const test::DumpRun toSqlite = Admin({"company", "move", kTestCompany, "--sqlite", "--json"});
  ASSERT_EQ(toSqlite.code, 0) << toSqlite.err;
  EXPECT_EQ(toSqlite.out, toPostgres.out);
  EXPECT_EQ(Connection(), "");
  EXPECT_EQ(Reads(), before);
  EXPECT_TRUE(std::filesystem::exists(DatabasePath() + ".anterior"));

  // Ids go on from where they were (the check took the place after the last
  // record), on both backends.
  for (const int64_t expected : {lastId + 2, lastId + 3}) {
    {
      CQXBaseParaRotinas rotinas;
      ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 0x4001), S_OK);
      CQXComPtr<IQXDF_Log> log = LogOf(rotinas);
      ASSERT_EQ(log->Grava(0x4001, 1, 8, 'I', 1, "x"), S_OK);
    }
    EXPECT_EQ(LastLogId(), expected);
    if (expected == lastId + 2) {
      ASSERT_EQ(there(test::PrivatePostgres::Get().NewSchema()).code, 0);
    }
  }
}

}  // namespace
}  // namespace qx
