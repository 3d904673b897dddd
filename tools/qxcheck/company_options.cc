#include "company_options.h"

#include <memory>

#include "outside/admin/company_config.h"
#include "outside/database/company_database.h"
#include "platform/codepage.h"
#include "storage/folders/folders.h"

namespace qx::check {
namespace {

bool ReadItem(SuiteDatabase& db, const char* name, int64_t* value, std::string* error) {
  const ConfigItem* item = FindConfigItem(name);
  if (item != nullptr && SUCCEEDED(GetConfig(db, *item, value))) return true;
  *error = "não foi possível ler \"";
  *error += name;
  *error += "\": " + Cp1252ToUtf8(db.message());
  return false;
}

}  // namespace

bool ReadCompanyOptions(const std::string& company, DifferenceOptions* options,
                        std::string* error) {
  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  if (FAILED(OpenCompanyDatabase(company, &db, &message))) {
    *error = Cp1252ToUtf8(message);
    return false;
  }
  int64_t modo = 0, porFilial = 0;
  if (!ReadItem(*db, "modo-diferenca", &modo, error) ||
      !ReadItem(*db, "diferenca-por-filial", &porFilial, error)) {
    return false;
  }
  options->modo = static_cast<uint16_t>(modo);
  options->porFilial = porFilial != 0;
  return true;
}

std::string CompanyAccountingFolder(const std::string& company) {
  return CompanyFolder(kModuloContabilidade, company);
}

}  // namespace qx::check
