// Where a company's suite database lives and how a program opens it: in the
// company's registry key, the "DF" folder (the SQLite file "QXSUITE.db", the
// company's error files, its use file) and, for a company whose workstations
// share it, the value "ConexaoPostgreSQL" that names its PostgreSQL database.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "outside/database/suite_database.h"
#include "platform/registry.h"

namespace qx {

struct CompanyDatabaseLocation {
  std::string folder;    // the "DF" folder, with a separator at its end
  std::string postgres;  // the connection value; empty: SQLite in the folder

  std::string SqlitePath() const;
};

// Where the registry keeps the company's database. E_QXDF_EMPRESA_SEM_PASTA,
// with *message, when the company has no "DF" folder.
HRESULT LocateCompanyDatabase(const Registry& registry, std::string_view company,
                              CompanyDatabaseLocation* where, std::string* message);

// Opens the existing database of the company, through the default registry
// or the one given. The connection holds the company in use (company_use.h)
// for as long as it lives. An SQLite database on a network file system is
// refused: machines cannot share it. Failures: E_QXDF_EMPRESA_SEM_PASTA,
// E_QXDF_EMPRESA_EM_USO, E_QXDF_BANCO_EM_REDE and the codes of
// SuiteDatabase::Open, with a message.
HRESULT OpenCompanyDatabase(std::string_view company, std::shared_ptr<SuiteDatabase>* db,
                            std::string* message);
HRESULT OpenCompanyDatabase(const Registry& registry, std::string_view company,
                            std::shared_ptr<SuiteDatabase>* db, std::string* message);

// Opens the database at `where` as it is, without holding the company or
// looking at its file system (the move, which holds it alone).
HRESULT OpenDatabaseAt(const CompanyDatabaseLocation& where, SuiteDatabase::Mode mode,
                       std::shared_ptr<SuiteDatabase>* db, std::string* message);

// Refuses an SQLite database in a folder of a network file system, naming
// the folder, the file system and the command that moves the company.
HRESULT RefuseSqliteOnNetwork(std::string_view company, const std::string& folder,
                              std::string* message);

}  // namespace qx
