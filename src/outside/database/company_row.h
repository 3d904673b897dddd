// The company's single row of properties and configuration in the suite
// database.
#pragma once

#include <functional>

#include "outside/database/sql_statement.h"

namespace qx {

// Reads the given columns of the company row and hands them to take;
// E_QXDF_REGISTRO_NAO_ENCONTRADO when the database holds no company row.
HRESULT ReadCompanyRow(SuiteDatabase& db, const char* columns,
                       const std::function<void(const SqlStatement&)>& take);

}  // namespace qx
