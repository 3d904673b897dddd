#include "outside/peers/gd_integracao.h"

#include <string>

#include "outside/database/company_database.h"
#include "outside/database/dados_df.h"
#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "outside/database/timestamp.h"

namespace {

// Binds a document to the four parameters from first on; no document binds
// nulls.
void BindDocument(qx::SqlStatement& insert, int first, const CGDDoc* doc) {
  if (doc == nullptr) return;
  insert.BindText(first, doc->GetDescricao()).Bind(first + 1, doc->GetFilial());
  insert.Bind(first + 2, doc->GetData().Value()).Bind(first + 3, doc->GetDocumento());
}

}  // namespace

HRESULT CGDIntegracaoSrv::Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao) {
  m_db.reset();
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string message;
  HRESULT hr = qx::OpenCompanyDatabase(empresa != nullptr ? empresa : "", &db, &message);
  if (FAILED(hr)) return hr;
  hr = db->Read([&] {
    qx::SqlStatement query(*db, "SELECT 1 FROM tipos_sistemas WHERE sigla = ?");
    return query.BindText(1, kSistemaGED).StepOne();
  });
  if (FAILED(hr)) return hr;
  if (hr == S_FALSE) return E_QXDF_SEM_GED;
  m_db = std::move(db);
  m_usuario = usuario;
  m_sessao = sessao;
  return S_OK;
}

HRESULT CGDIntegracaoSrv::OnAlteracaoReg(int32_t lChaveComposta, const CGDDoc& novo,
                                         const CGDDoc& antigo) {
  return Notifica('A', lChaveComposta, &novo, &antigo);
}

HRESULT CGDIntegracaoSrv::OnExclusaoReg(int32_t lChaveComposta) {
  return Notifica('E', lChaveComposta, nullptr, nullptr);
}

HRESULT CGDIntegracaoSrv::Notifica(char operacao, int32_t chave, const CGDDoc* novo,
                                   const CGDDoc* antigo) {
  if (m_db == nullptr) return E_QXDF_NAO_INICIALIZADO;
  qx::SuiteDatabase& db = *m_db;
  return db.Write([&] {
    qx::SqlStatement locked(db, "SELECT 1 FROM ged_bloqueios WHERE chave = ?");
    HRESULT hr = locked.Bind(1, chave).StepOne();
    if (FAILED(hr)) return hr;
    if (hr == S_OK) return E_QXDF_DOCUMENTO_BLOQUEADO;
    qx::SqlStatement insert(db,
                            "INSERT INTO ged_notificacoes (sessao, usuario, operacao, chave, "
                            "descricao_nova, filial_nova, data_nova, documento_novo, "
                            "descricao_antiga, filial_antiga, data_antiga, documento_antigo, "
                            "gravado_em) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, m_sessao).Bind(2, m_usuario).BindText(3, std::string(1, operacao));
    insert.Bind(4, chave).BindText(13, qx::TimestampNow());
    BindDocument(insert, 5, novo);
    BindDocument(insert, 9, antigo);
    return insert.Run();
  });
}
