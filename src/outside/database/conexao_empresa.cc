#include "outside/database/conexao_empresa.h"

#include <string>

#include "diagnostics/error_log.h"
#include "outside/database/company_database.h"
#include "outside/database/outside_codes.h"

namespace qx {

HRESULT ConexaoEmpresa::Conecta(const char* funcao, const char* empresa, unsigned short usuario,
                                uint32_t sessao) {
  m_identidade = CQXProfilerEmpresa(empresa, usuario, sessao);
  std::string message;
  const HRESULT hr = OpenCompanyDatabase(m_identidade.GetEmpresa(), &m_db, &message);
  return Trata(funcao, hr, message);
}

HRESULT ConexaoEmpresa::LeRegistro(const char* funcao, const char* sql, int64_t chave,
                                   const std::function<void(const SqlStatement&)>& take) {
  if (m_db == nullptr) {
    return Trata(funcao, E_QXDF_NAO_INICIALIZADO, "A conex\xE3o n\xE3o foi inicializada.");
  }
  HRESULT hr = m_db->Read([&] {
    SqlStatement query(*m_db, sql);
    const HRESULT found = query.Bind(1, chave).StepOne();
    if (found == S_OK) take(query);
    return found;
  });
  if (hr == S_FALSE && m_bTratarMensagens) {
    hr = m_db->Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO,
                    "C\xF3"
                    "digo " +
                        std::to_string(chave) + " n\xE3o cadastrado.");
  }
  return Trata(funcao, hr, m_db->message());
}

HRESULT ConexaoEmpresa::LeTodos(const char* funcao, const char* sql,
                                const std::function<void(const SqlStatement&)>& take) {
  if (m_db == nullptr) {
    return Trata(funcao, E_QXDF_NAO_INICIALIZADO, "A conex\xE3o n\xE3o foi inicializada.");
  }
  const HRESULT hr = ForEachRow(
      *m_db, sql, [](SqlStatement&) {}, take);
  return Trata(funcao, hr, m_db->message());
}

HRESULT ConexaoEmpresa::Trata(const char* funcao, HRESULT hr, const std::string& message) {
  if (FAILED(hr) && m_bTrataErros) {
    QXGravaLogErro(&m_identidade, funcao, "QXDFConx", __LINE__, "%s\t%s",
                   LinhaLogHresult("hr", funcao, hr).c_str(), message.c_str());
  }
  return hr;
}

}  // namespace qx
