// Creating an installation of the suite and its companies: the registry keys,
// the folders and a seeded suite database per company. The registry is named
// explicitly, so that the admin tool and the tests can work on any store.
// Texts are Windows-1252; failures give a code and a message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "outside/admin/company_admin.h"
#include "outside/database/company_database.h"
#include "outside/database/naturezas.h"
#include "platform/registry.h"

namespace qx {

// Everything a new company's database starts with.
struct CompanySeed {
  std::string codigo;  // 1 to 24 letters, digits, '_' or '-'
  std::string nome;
  bool usaQuantidadeGerencial = false;
  bool ged = false;
  uint32_t exercicio = 0;
  uint32_t dataInicial = 0;  // CQXData day numbers
  uint32_t dataFinal = 0;
  uint16_t codigoCliente = 0;
  std::vector<FilialCadastro> filiais;
  std::vector<UsuarioCadastro> usuarios;
  std::vector<ContaCadastro> contas;
  std::vector<HistoricoCadastro> historicos;
  std::vector<RegraNatureza> naturezas;  // besides the schema's own rules
};

// A small company for trying the system: a chart of accounts, a managerial
// chart, a few histories, three branches and one user (1) with two of them
// active, the accounting period being the given year.
CompanySeed SampleCompany(const std::string& codigo, int ano);

// True for a code that a company may have.
bool IsValidCompanyCode(std::string_view codigo);

// Creates the installation at folder, or completes one: the installation keys
// of this server's module and of the base data module ("Path", "Path_x64"),
// the named folders under the base key, the "Empresas" key, the folders on
// disk and an empty "log.ini" (kept when it exists). The folders are the
// owner's alone, or, with a group, the folder is made an office folder of that
// group (platform/owner_access.h) and the registry file readable by the group.
HRESULT CreateInstallation(const Registry& registry, const std::string& folder,
                           std::string* message, const std::string& group = "");
// The installation folder that the registry names; empty when none.
std::string InstalledFolder(const Registry& registry);

// The company's "DF" folder in the registry; empty when the company has none.
std::string RegisteredCompanyFolder(const Registry& registry, std::string_view codigo);
// Opens an existing company's database through the given registry
// (OpenCompanyDatabase).
HRESULT OpenRegisteredCompany(const Registry& registry, std::string_view codigo,
                              std::shared_ptr<SuiteDatabase>* db, std::string* message);

// Creates the company's database at `where` from the seed, in one
// transaction: the SQLite file (which must not exist; one that cannot be
// seeded is removed again) or the PostgreSQL schema (which must be empty).
HRESULT CreateCompanyDatabase(const CompanyDatabaseLocation& where, const CompanySeed& seed,
                              std::string* message);
HRESULT CreateCompanyDatabase(const std::string& dfFolder, const CompanySeed& seed,
                              std::string* message);
// Creates a company under root ("<root>/DF/", "<root>/CN/"), or under the
// installation's "Empresas" folder when root is empty, seeds its database (in
// SQLite, or in the PostgreSQL database that the connection value `postgres`
// names) and then writes its key "Empresas\<code>" with the "DF" and "CN"
// values (and "ConexaoPostgreSQL"). A company that exists gives
// E_QXDF_JA_EXISTE.
HRESULT CreateCompany(const Registry& registry, const CompanySeed& seed, const std::string& root,
                      std::string* message, const std::string& postgres = "");

// The embedded default installation under home: the installation folder
// home/suite and the sample company "DEMO" of the current year. What exists
// already is kept as it is; report tells what was done.
inline constexpr char kDefaultCompany[] = "DEMO";
HRESULT EnsureDefaultInstallation(const Registry& registry, const std::string& home,
                                  std::string* report);

}  // namespace qx
