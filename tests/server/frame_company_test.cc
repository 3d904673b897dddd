// The entry service object as clients create it, on a real company.
#include <gtest/gtest.h>

#include <filesystem>

#include "outside/database/suite_database.h"
#include "test_business.h"

namespace qx {
namespace {

using FrameCompany = FrameTest;

Lancamento NovoServico() {
  void* object = nullptr;
  EXPECT_EQ(QXCN_Lancamento_CreateInstance(nullptr, IID_IQXCN_Lancamento, &object), S_OK);
  return Lancamento(static_cast<IQXCN_Lancamento*>(object));
}

// A business method's failure (here the removal of a missing month) gives the
// system's error, logged, and the object stays.
TEST_F(FrameCompany, FailedBusinessMethodKeepsTheObject) {
  Lancamento servico = NovoServico();
  ASSERT_EQ(servico->Inicializa_Padrao(RegistroInicializacao()), S_OK);
  constexpr uint16_t kMes = 24 * 12 + 3;
  ASSERT_EQ(servico->CriaArquivoMes(kMes), S_OK);
  EXPECT_EQ(servico->ApagaArquivoMes(kMes), S_OK);
  const int erros = company_.ErrorLines();
  EXPECT_EQ(servico->ApagaArquivoMes(kMes), static_cast<HRESULT>(0x80070002u));
  EXPECT_EQ(company_.ErrorLines(), erros + 1);
  EXPECT_EQ(servico->CriaArquivoMes(kMes), S_OK);
}

TEST_F(FrameCompany, FailedInitialisationDropsTheBusinessObject) {
  std::filesystem::remove(company_.DfFolder() + kSuiteDatabaseName);
  Lancamento servico = NovoServico();
  const HRESULT hr = servico->Inicializa_Padrao(RegistroInicializacao());
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(servico->CriaArquivoMes(1), E_QXCR_NAO_INICIALIZADO);
  EXPECT_EQ(servico->Inicializa_Padrao(RegistroInicializacao()), E_QXCR_SEM_OBJETO);
  _REG_DF_ERROPS erro{};
  erro.hr = 1;
  EXPECT_EQ(servico->GetUltimoErro(&erro), S_OK);
  EXPECT_EQ(erro.hr, S_OK);
}

}  // namespace
}  // namespace qx
