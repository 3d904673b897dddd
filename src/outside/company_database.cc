#include "outside/company_database.h"

#include "outside/outside_codes.h"
#include "values/text_format.h"
#include "platform/path.h"
#include "storage/folders/folders.h"

namespace qx {

std::string CompanyDatabasePath(std::string_view company) {
  const std::string folder = CompanyFolder(kModuloDadosBase, company);
  return folder.empty() ? folder : JoinPath(ToPlatformPath(folder), kSuiteDatabaseName);
}

HRESULT OpenCompanyDatabase(std::string_view company, std::shared_ptr<SuiteDatabase>* db,
                            std::string* message) {
  db->reset();
  const std::string path = CompanyDatabasePath(company);
  if (path.empty()) {
    const std::string code(company);
    *message = FormatText("A empresa \"%s\" n\xE3o tem pasta \"DF\" no registro.", code.c_str());
    return E_QXDF_EMPRESA_SEM_PASTA;
  }
  return SuiteDatabase::Open(path, SuiteDatabase::Mode::kExisting, db, message);
}

}  // namespace qx
