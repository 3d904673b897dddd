#include "outside/database/company_database.h"

#include "outside/database/company_use.h"
#include "outside/database/outside_codes.h"
#include "outside/database/postgres_connection.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "storage/folders/folders.h"
#include "values/text_format.h"

namespace qx {
namespace {

// What the connection keeps alive beside the database: the company's use.
struct HeldDatabase {
  std::shared_ptr<SuiteDatabase> db;
  std::shared_ptr<const void> use;
};

bool IsCompanyCode(std::string_view company) {
  return !company.empty() && company.find('\\') == std::string_view::npos;
}

}  // namespace

std::string CompanyDatabaseLocation::SqlitePath() const {
  return JoinPath(folder, kSuiteDatabaseName);
}

HRESULT LocateCompanyDatabase(const Registry& registry, std::string_view company,
                              CompanyDatabaseLocation* where, std::string* message) {
  *where = CompanyDatabaseLocation();
  const std::string key = std::string(kCompaniesKey) + "\\" + std::string(company);
  std::string folder;
  if (!IsCompanyCode(company) || registry.GetString(key, "DF", &folder) != ERROR_SUCCESS ||
      folder.empty()) {
    *message = FormatText("A empresa \"%s\" n\xE3o tem pasta \"DF\" no registro.",
                          std::string(company).c_str());
    return E_QXDF_EMPRESA_SEM_PASTA;
  }
  where->folder = WithTrailingSeparator(ToPlatformPath(folder));
  if (registry.GetString(key, kConexaoPostgreSQL, &where->postgres) != ERROR_SUCCESS) {
    where->postgres.clear();
  }
  return S_OK;
}

HRESULT OpenDatabaseAt(const CompanyDatabaseLocation& where, SuiteDatabase::Mode mode,
                       std::shared_ptr<SuiteDatabase>* db, std::string* message) {
  if (!where.postgres.empty())
    return SuiteDatabase::OpenPostgres(where.postgres, mode, db, message);
  return SuiteDatabase::Open(where.SqlitePath(), mode, db, message);
}

HRESULT RefuseSqliteOnNetwork(std::string_view company, const std::string& folder,
                              std::string* message) {
  FileSystemInfo fs;
  if (!DescribeFileSystem(folder, &fs) || !fs.network) return S_OK;
  const std::string code(company);
  *message = FormatText(
      "A empresa \"%s\" guarda o banco SQLite na pasta \"%s\", num sistema de arquivos de rede "
      "(%s): o SQLite n\xE3o pode ser compartilhado entre m\xE1quinas, e o banco se "
      "corromperia. Mova a empresa para o PostgreSQL: qxadmin empresa move %s --postgresql "
      "\"host=SERVIDOR dbname=BANCO user=USUARIO\".",
      code.c_str(), folder.c_str(), fs.type.c_str(), code.c_str());
  return E_QXDF_BANCO_EM_REDE;
}

HRESULT OpenCompanyDatabase(std::string_view company, std::shared_ptr<SuiteDatabase>* db,
                            std::string* message) {
  return OpenCompanyDatabase(Registry::Default(), company, db, message);
}

HRESULT OpenCompanyDatabase(const Registry& registry, std::string_view company,
                            std::shared_ptr<SuiteDatabase>* db, std::string* message) {
  db->reset();
  CompanyDatabaseLocation where;
  HRESULT hr = LocateCompanyDatabase(registry, company, &where, message);
  auto held = std::make_shared<HeldDatabase>();
  // The company is held before its database is read from the registry
  // again: a move switches the registry only while it holds it alone.
  if (SUCCEEDED(hr)) hr = UseCompany(where.folder, &held->use, message);
  if (SUCCEEDED(hr)) hr = LocateCompanyDatabase(registry, company, &where, message);
  if (SUCCEEDED(hr) && where.postgres.empty()) {
    hr = RefuseSqliteOnNetwork(company, where.folder, message);
  }
  if (SUCCEEDED(hr)) hr = OpenDatabaseAt(where, SuiteDatabase::Mode::kExisting, &held->db, message);
  if (SUCCEEDED(hr)) *db = std::shared_ptr<SuiteDatabase>(held, held->db.get());
  return hr;
}

}  // namespace qx
