#include "outside/database/company_row.h"

#include <string>

#include "outside/database/outside_codes.h"
#include "values/text_format.h"

namespace qx {

HRESULT ReadCompanyRow(SuiteDatabase& db, const char* columns,
                       const std::function<void(const SqlStatement&)>& take) {
  const std::string sql = std::string("SELECT ") + columns + " FROM empresa WHERE id = 1";
  return db.Read([&] {
    SqlStatement query(db, sql.c_str());
    const HRESULT hr = query.StepOne();
    if (hr == S_FALSE) {
      return db.Fail(
          E_QXDF_REGISTRO_NAO_ENCONTRADO,
          FormatText("O banco de dados \"%s\" n\xE3o tem os dados da empresa.", db.path().c_str()));
    }
    if (SUCCEEDED(hr)) take(query);
    return hr;
  });
}

}  // namespace qx
