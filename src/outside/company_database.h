// Where a company's suite database lives and how a running component opens it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "outside/suite_database.h"

namespace qx {

// The company's "DF" folder followed by "QXSUITE.db"; empty when the company
// has no "DF" folder in the registry.
std::string CompanyDatabasePath(std::string_view company);

// Opens the existing database of the company. Failures: E_QXDF_EMPRESA_SEM_PASTA
// and the codes of SuiteDatabase::Open, with a message.
HRESULT OpenCompanyDatabase(std::string_view company, std::shared_ptr<SuiteDatabase>* db,
                            std::string* message);

}  // namespace qx
