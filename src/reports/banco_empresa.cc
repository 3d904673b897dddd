#include "reports/banco_empresa.h"

#include "outside/database/company_database.h"
#include "platform/codepage.h"
#include "reports/falha.h"

namespace qx {

std::shared_ptr<SuiteDatabase> AbreBancoDaEmpresa(const std::string& empresa,
                                                  const std::string& leitura) {
  std::shared_ptr<SuiteDatabase> db;
  std::string mensagem;
  const HRESULT hr = OpenCompanyDatabase(empresa, &db, &mensagem);
  if (FAILED(hr)) throw FalhaServico{hr, leitura, {}, Cp1252ToUtf8(mensagem)};
  return db;
}

void ConfirmaLeitura(HRESULT hr, const SuiteDatabase& db, const std::string& leitura) {
  if (FAILED(hr)) throw FalhaServico{hr, leitura, {}, Cp1252ToUtf8(db.message())};
}

}  // namespace qx
