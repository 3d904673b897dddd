// The company reads of the business access.
#include <set>
#include <string>

#include "outside/database/company_row.h"
#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "outside/peers/acesso_servidores.h"
#include "values/text_format.h"

namespace {

// Common checks of a read: a data object and the reserved argument 0.
template <typename Dados>
HRESULT Prepara(Dados* dados, int32_t lReservado) {
  if (dados == nullptr) return E_POINTER;
  return lReservado == 0 ? S_OK : E_INVALIDARG;
}

HRESULT ReadBranches(qx::SuiteDatabase& db, unsigned short usuario, std::set<int32_t>* filiais) {
  return db.Read([&] {
    filiais->clear();
    qx::SqlStatement user(db, "SELECT 1 FROM usuarios WHERE numero = ?");
    HRESULT hr = user.Bind(1, usuario).StepOne();
    if (hr == S_FALSE) {
      return db.Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO,
                     qx::FormatText("O usu\xE1rio %u n\xE3o est\xE1 cadastrado na empresa.",
                                    static_cast<unsigned>(usuario)));
    }
    qx::SqlStatement query(db, "SELECT filial FROM filiais_ativas WHERE usuario = ?");
    query.Bind(1, usuario);
    bool row = false;
    while (SUCCEEDED(hr) && SUCCEEDED(hr = query.Step(&row)) && row) {
      filiais->insert(static_cast<int32_t>(query.Int(0)));
    }
    return hr;
  });
}

HRESULT ReadSystems(qx::SuiteDatabase& db, std::set<std::string>* siglas) {
  return db.Read([&] {
    siglas->clear();
    qx::SqlStatement query(db, "SELECT sigla FROM tipos_sistemas");
    bool row = false;
    HRESULT hr;
    while (SUCCEEDED(hr = query.Step(&row)) && row) siglas->insert(query.Text(0));
    return hr;
  });
}

}  // namespace

HRESULT CQXAcessoEmpresarial::LeFiliaisAtivas(unsigned short usuario,
                                              CQXDadosDF_FiliaisAtivas* dados, int32_t lReservado) {
  HRESULT hr = Prepara(dados, lReservado);
  if (FAILED(hr)) return hr;
  std::set<int32_t> filiais;
  std::shared_ptr<qx::SuiteDatabase> db;
  hr = Banco(&db);
  if (SUCCEEDED(hr)) hr = Reporta(ReadBranches(*db, usuario, &filiais));
  if (FAILED(hr)) filiais.clear();
  dados->Define(usuario, std::move(filiais));
  return hr;
}

HRESULT CQXAcessoEmpresarial::LePropriedades(CQXDadosDF_Propriedades* dados, int32_t lReservado) {
  HRESULT hr = Prepara(dados, lReservado);
  if (FAILED(hr)) return hr;
  std::shared_ptr<qx::SuiteDatabase> db;
  hr = Banco(&db);
  if (FAILED(hr)) return hr;
  return Reporta(qx::ReadCompanyRow(*db, "codigo, nome, usa_quantidade_gerencial",
                                    [&](const qx::SqlStatement& row) {
                                      dados->Define(row.Text(0), row.Text(1), row.Int(2) != 0);
                                    }));
}

HRESULT CQXAcessoEmpresarial::LeBufferTiposSistemas(CQXDadosDF_TiposSistemas* dados,
                                                    int32_t lReservado) {
  HRESULT hr = Prepara(dados, lReservado);
  if (FAILED(hr)) return hr;
  std::shared_ptr<qx::SuiteDatabase> db;
  hr = Banco(&db);
  if (FAILED(hr)) return hr;
  std::set<std::string> siglas;
  hr = Reporta(ReadSystems(*db, &siglas));
  if (SUCCEEDED(hr)) dados->Define(std::move(siglas));
  return hr;
}
