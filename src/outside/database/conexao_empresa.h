// What the chart and history connections share: one connection to a
// company's suite database, opened by the connection's own initialisation,
// and the treatment of its failures.
//
// A read of a code that the company does not have leaves the record zero and
// gives S_FALSE, or E_QXDF_REGISTRO_NAO_ENCONTRADO while messages are
// treated. While errors are treated, the connection writes each failure to
// the error log itself. Both treatments are on until switched off.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "contract/profiler_identity.h"
#include "outside/database/sql_statement.h"

namespace qx {

class ConexaoEmpresa {
 public:
  void SetTrataErros(bool trata) { m_bTrataErros = trata; }
  void SetTratarMensagens(bool tratar) { m_bTratarMensagens = tratar; }

 protected:
  ConexaoEmpresa() = default;
  ConexaoEmpresa(const ConexaoEmpresa&) = delete;
  ConexaoEmpresa& operator=(const ConexaoEmpresa&) = delete;

  // Opens the company's database for the caller's identity; funcao names
  // the caller in the error log.
  HRESULT Conecta(const char* funcao, const char* empresa, unsigned short usuario, uint32_t sessao);
  // Runs a query with one key that gives at most one row and hands the row
  // to take.
  HRESULT LeRegistro(const char* funcao, const char* sql, int64_t chave,
                     const std::function<void(const SqlStatement&)>& take);
  // Runs a query without parameters and hands every row to take.
  HRESULT LeTodos(const char* funcao, const char* sql,
                  const std::function<void(const SqlStatement&)>& take);

 private:
  HRESULT Trata(const char* funcao, HRESULT hr, const std::string& message);

  std::shared_ptr<SuiteDatabase> m_db;
  CQXProfilerEmpresa m_identidade;
  bool m_bTrataErros = true;
  bool m_bTratarMensagens = true;
};

}  // namespace qx
