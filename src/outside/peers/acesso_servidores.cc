#include "outside/peers/acesso_servidores.h"

#include "outside/business/qx_ultimo_erro.h"
#include "outside/database/outside_codes.h"
#include "outside/peers/service_factories.h"

namespace qx {

void AcessoBanco::Conecta(std::shared_ptr<SuiteDatabase> db, CQXUltimoErro* erros) {
  db_ = std::move(db);
  erros_ = erros;
}

HRESULT AcessoBanco::Banco(std::shared_ptr<SuiteDatabase>* db) {
  *db = db_;
  if (db_ != nullptr) return S_OK;
  if (erros_ != nullptr) {
    erros_->SetErro(E_QXDF_NAO_INICIALIZADO, kNumeroServidorDadosDF, 0, "%s",
                    "O acesso aos dados da empresa n\xE3o foi inicializado.");
  }
  return E_QXDF_NAO_INICIALIZADO;
}

HRESULT AcessoBanco::Reporta(HRESULT hr) {
  if (FAILED(hr) && erros_ != nullptr && db_ != nullptr) {
    erros_->SetErro(hr, kNumeroServidorDadosDF, 0, "%s", db_->message().c_str());
  }
  return hr;
}

}  // namespace qx

namespace {

// Hands out a service made over the access's connection.
template <typename Service, typename Make>
HRESULT HandOut(HRESULT connected, std::shared_ptr<qx::SuiteDatabase> db,
                CQXComPtr<Service>& servico, Make make) {
  servico.reset();
  if (FAILED(connected)) return connected;
  servico = make(std::move(db));
  return S_OK;
}

}  // namespace

HRESULT CQXServidoresEmpresarial::GetIDFLog(CQXComPtr<IQXDF_Log>& servico) {
  std::shared_ptr<qx::SuiteDatabase> db;
  const HRESULT hr = Banco(&db);
  return HandOut(hr, std::move(db), servico, [this](std::shared_ptr<qx::SuiteDatabase> banco) {
    return qx::MakeChangeLog(std::move(banco), usuario_);
  });
}

HRESULT CQXServidoresEmpresarial::GetIDFHistorico(CQXComPtr<IQXCN_Historico>& servico) {
  std::shared_ptr<qx::SuiteDatabase> db;
  const HRESULT hr = Banco(&db);
  return HandOut(hr, std::move(db), servico, qx::MakeHistoryService);
}

HRESULT CQXServidoresContabil::GetICNMestre(CQXComPtr<IQXCN_Mestre>& servico) {
  std::shared_ptr<qx::SuiteDatabase> db;
  const HRESULT hr = Banco(&db);
  return HandOut(hr, std::move(db), servico, qx::MakeMasterService);
}

HRESULT CQXServidoresCore::GetICRAnalytics(CQXComPtr<IQXCR_Analytics>& servico) {
  servico = qx::MakeAnalyticsService();
  return S_OK;
}
