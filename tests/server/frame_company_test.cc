// The entry service object as clients create it, on a real company.
#include <gtest/gtest.h>

#include <filesystem>

#include "outside/suite_database.h"
#include "storage/month_name.h"
#include "test_business.h"

namespace qx {
namespace {

using FrameCompany = FrameTest;

Lancamento NovoServico() {
  void* object = nullptr;
  EXPECT_EQ(QXCN_Lancamento_CreateInstance(nullptr, IID_IQXCN_Lancamento, &object), S_OK);
  return Lancamento(static_cast<IQXCN_Lancamento*>(object));
}

TEST_F(FrameCompany, MonthOperationsThroughTheFrame) {
  Lancamento servico = NovoServico();
  ASSERT_EQ(servico->Inicializa_Padrao(RegistroInicializacao()), S_OK);
  constexpr uint16_t kMes = 24 * 12 + 3;
  ASSERT_EQ(servico->CriaArquivoMes(kMes), S_OK);
  int32_t lancamentos = -1, excluidos = -1, gerenciais = -1, importados = -1;
  ASSERT_EQ(
      servico->PegaQuantidadeRegistros(kMes, &lancamentos, &excluidos, &gerenciais, &importados),
      S_OK);
  EXPECT_EQ(lancamentos + excluidos + gerenciais + importados, 0);
  EXPECT_EQ(servico->ApagaArquivoMes(kMes), S_OK);

  // The removal of a missing file fails with the system's error, logged, and
  // the object stays.
  const int erros = company_.ErrorLines();
  EXPECT_EQ(servico->ApagaArquivoMes(kMes), static_cast<HRESULT>(0x80070002u));
  EXPECT_EQ(company_.ErrorLines(), erros + 1);
  EXPECT_EQ(servico->CriaArquivoMes(kMes), S_OK);

  // A getter answers from the current entry, empty after initialisation.
  int32_t conta = -1;
  EXPECT_EQ(servico->GetDebito(&conta), S_OK);
  EXPECT_EQ(conta, 0);
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
