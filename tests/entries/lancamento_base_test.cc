// Initialisation of the business object against a company's suite database.
#include "lancamento/lancamento_base.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "outside/database/outside_codes.h"
#include "outside/database/suite_database.h"
#include "test_company.h"

namespace qx {
namespace {

TEST(LancamentoBaseInit, ReadsTheCompanyConfigurationAtItsOffsets) {
  TestCompany company;
  company.SetConfig("client-code", 850);
  company.SetConfig("period-start", CQXData::Make(1, 1, 2024).Value());
  company.SetConfig("period-end", CQXData::Make(31, 12, 2024).Value());
  company.SetConfig("difference-mode", 3);
  company.SetConfig("difference-per-branch", 1);
  company.SetConfig("foreign-currency", 1);
  company.SetConfig("managerial-quantities", 1);

  CLancamentoBase objeto;
  ASSERT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
  EXPECT_TRUE(objeto.EstaInicializado());
  EXPECT_EQ(objeto.GetPastaEmpresa(), company.CnFolder());
  EXPECT_FALSE(objeto.GetPastaEmpresa().empty());
  EXPECT_EQ(std::tuple(objeto.GetCodigoCliente(), objeto.GetDataInicialPeriodo().Value(),
                       objeto.GetDataFinalPeriodo().Value(), objeto.GetModoDiferenca(),
                       objeto.GetDiferencaPorFilial(), objeto.GetMoedaEstrangeira() != 0,
                       objeto.GetUsaQuantidadeGerencial()),
            std::tuple(850, CQXData::Make(1, 1, 2024).Value(), CQXData::Make(31, 12, 2024).Value(),
                       3, true, true, true));
  EXPECT_EQ(objeto.GetIntegracaoGed(), nullptr) << "the company does not use document management";

  company.SetConfig("difference-per-branch", 0);
  company.SetConfig("foreign-currency", 0);
  CLancamentoBase outro;
  ASSERT_EQ(outro.Inicializa(RegistroInicializacao()), S_OK);
  EXPECT_FALSE(outro.GetDiferencaPorFilial());
  EXPECT_EQ(outro.GetMoedaEstrangeira(), 0u);
}

TEST(LancamentoBaseInit, DocumentManagementOnlyForCompaniesThatUseIt) {
  TestCompany company(/*ged=*/true);
  CLancamentoBase objeto;
  ASSERT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
  ASSERT_NE(objeto.GetIntegracaoGed(), nullptr);
  EXPECT_EQ(objeto.GetIntegracaoGed()->GetTipoProcesso(), 0);
}

TEST(LancamentoBaseInit, UnusableDatabaseOrServicesFail) {
  TestCompany company;
  const std::string db = company.DfFolder() + kSuiteDatabaseName;

  // Held by another writer beyond the waiting budget.
  SetSuiteBusyTimeoutForTesting(20);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  {
    CLancamentoBase objeto;
    EXPECT_EQ(objeto.Inicializa(RegistroInicializacao()), E_QXDF_BANCO_OCUPADO);
    EXPECT_FALSE(objeto.EstaInicializado());
  }
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  SetSuiteBusyTimeoutForTesting(0);

  // Not a database at all, then none.
  std::filesystem::remove(db);
  std::ofstream(db) << "not a database";
  {
    CLancamentoBase objeto;
    EXPECT_TRUE(FAILED(objeto.Inicializa(RegistroInicializacao())));
    EXPECT_FALSE(objeto.EstaInicializado());
  }
  std::filesystem::remove(db);
  {
    CLancamentoBase objeto;
    EXPECT_TRUE(FAILED(objeto.Inicializa(RegistroInicializacao())));
    EXPECT_FALSE(objeto.EstaInicializado());
  }

  // Without a company connection there is no accounting master: a failure,
  // with the status in its low word, and the object stays uninitialised.
  CLancamentoBase semConexao;
  semConexao.SetUsaConexaoDefault();
  EXPECT_EQ(semConexao.Inicializa(RegistroInicializacao()),
            static_cast<HRESULT>(0x80040000u | kStatusSemMestre));
  EXPECT_FALSE(semConexao.EstaInicializado());
}

}  // namespace
}  // namespace qx
