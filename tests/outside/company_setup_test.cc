// Creating companies: a seed that fails leaves nothing behind, existing data
// is never overwritten, and settings change what the readers see.
#include "outside/company_config.h"
#include "outside/outside_codes.h"
#include "outside/qx_base_para_rotinas.h"
#include "outside_test_company.h"

namespace qx {
namespace {

using CompanySetupTest = OutsideTest;

TEST_F(CompanySetupTest, FailedSeedLeavesNoDatabaseAndNoKey) {
  CompanySeed seed = SampleCompany("FALHA", kTestYear);
  seed.usuarios.push_back({7, "SEM FILIAL", {42}});  // branch 42 does not exist
  std::string message;
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, registry_.dir() + "/falha", &message),
            E_QXDF_REGISTRO_NAO_ENCONTRADO);
  EXPECT_NE(message.find("42"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(registry_.dir() + "/falha/DF/" + kSuiteDatabaseName));
  EXPECT_EQ(RegisteredCompanyFolder(Registry::Default(), "FALHA"), "");

  // The same code can then be created properly.
  seed.usuarios.pop_back();
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, registry_.dir() + "/falha", &message), S_OK)
      << message;
}

TEST_F(CompanySetupTest, ExistingDataIsNeverOverwritten) {
  MakeCompany();
  const std::string before = ReadFile(DatabasePath());
  std::string message;
  const CompanySeed seed = SampleCompany(kTestCompany, kTestYear);
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, "", &message), E_QXDF_JA_EXISTE);
  EXPECT_EQ(CreateCompanyDatabase(DfFolder(), seed, &message), E_QXDF_JA_EXISTE);
  EXPECT_EQ(ReadFile(DatabasePath()), before);

  CompanySeed longCode = seed;
  longCode.codigo = std::string(25, 'A');
  EXPECT_EQ(CreateCompany(Registry::Default(), longCode, "", &message), E_INVALIDARG);
}

TEST_F(CompanySetupTest, SettingsReachTheReaders) {
  MakeCompany();
  {
    auto db = Open();
    ASSERT_EQ(SetConfig(*db, *FindConfigItem("document-management"), 0), S_OK);
    ASSERT_EQ(SetConfig(*db, *FindConfigItem("managerial-quantities"), 0), S_OK);
    int64_t value = -1;
    ASSERT_EQ(GetConfig(*db, *FindConfigItem("document-management"), &value), S_OK);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(FindConfigItem("no-such-value"), nullptr);
  }
  CQXBaseParaRotinas rotinas;
  ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 1), S_OK);
  CQXDadosDF_TiposSistemas tipos;
  ASSERT_EQ(rotinas.GetAcessoEmpresarial()->LeBufferTiposSistemas(&tipos, 0), S_OK);
  EXPECT_EQ(tipos.GetPossuiTarvoGED(), 0);
  CQXDadosDF_Propriedades propriedades;
  ASSERT_EQ(rotinas.GetAcessoEmpresarial()->LePropriedades(&propriedades, 0), S_OK);
  EXPECT_EQ(propriedades.GetUsaQuantidadeGerencial(), 0);
}

}  // namespace
}  // namespace qx
