// The accounting master and the standard-history service: both answer from
// the company row of the suite database.
#include <cstring>

#include "outside/database/company_row.h"
#include "outside/peers/service_factories.h"

namespace qx {
namespace {

class MasterService : public IQXCN_Mestre {
 public:
  explicit MasterService(std::shared_ptr<SuiteDatabase> db) : db_(std::move(db)) {}

  HRESULT LeConfiguracao(_REG_CN_CONFIGURACAOPS* configuracao) override {
    if (configuracao == nullptr) return E_POINTER;
    std::memset(configuracao, 0, sizeof(*configuracao));
    return ReadCompanyRow(
        *db_,
        "exercicio, data_inicial, data_final, data_inicial_permitida, "
        "data_final_permitida, data_inicial_bloqueada, data_final_bloqueada, "
        "codigo_cliente",
        [&](const SqlStatement& row) {
          configuracao->ulExercicio = static_cast<uint32_t>(row.Int(0));
          configuracao->ulDataInicial = static_cast<uint32_t>(row.Int(1));
          configuracao->ulDataFinal = static_cast<uint32_t>(row.Int(2));
          configuracao->ulDataInicialPermitida = static_cast<uint32_t>(row.Int(3));
          configuracao->ulDataFinalPermitida = static_cast<uint32_t>(row.Int(4));
          configuracao->ulDataInicialBloqueada = static_cast<uint32_t>(row.Int(5));
          configuracao->ulDataFinalBloqueada = static_cast<uint32_t>(row.Int(6));
          configuracao->usCodigoCliente = static_cast<uint16_t>(row.Int(7));
        });
  }

  HRESULT LeConfiguracaoComplementar(_REG_CN_CONFIGURACAO_COMPLEMENTARPS* configuracao) override {
    if (configuracao == nullptr) return E_POINTER;
    std::memset(configuracao, 0, sizeof(*configuracao));
    return ReadCompanyRow(*db_, "moeda_estrangeira, modo_diferenca, diferenca_por_filial",
                          [&](const SqlStatement& row) {
                            configuracao->ulMoedaEstrangeira = static_cast<uint32_t>(row.Int(0));
                            configuracao->cModoDiferenca = static_cast<uint8_t>(row.Int(1));
                            configuracao->cDiferencaPorFilial = row.Int(2) != 0 ? 1 : 0;
                          });
  }

  HRESULT LePeriodoFechado(PeriodoFechado* periodo) override {
    if (periodo == nullptr) return E_POINTER;
    return qx::LePeriodoFechado(*db_, periodo);
  }

 private:
  std::shared_ptr<SuiteDatabase> db_;
};

class HistoryService : public IQXCN_Historico {
 public:
  explicit HistoryService(std::shared_ptr<SuiteDatabase> db) : db_(std::move(db)) {}

  HRESULT LeConfiguracao(_REG_CN_HISTORICO_CONFIGURACAOPS* configuracao) override {
    if (configuracao == nullptr) return E_POINTER;
    std::memset(configuracao, 0, sizeof(*configuracao));
    return ReadCompanyRow(*db_, "tipo_texto_historico", [&](const SqlStatement& row) {
      configuracao->cTipoTextoCodigo = static_cast<uint8_t>(row.Int(0));
    });
  }

 private:
  std::shared_ptr<SuiteDatabase> db_;
};

}  // namespace

CQXComPtr<IQXCN_Mestre> MakeMasterService(std::shared_ptr<SuiteDatabase> db) {
  return std::make_unique<MasterService>(std::move(db));
}

CQXComPtr<IQXCN_Historico> MakeHistoryService(std::shared_ptr<SuiteDatabase> db) {
  return std::make_unique<HistoryService>(std::move(db));
}

}  // namespace qx
