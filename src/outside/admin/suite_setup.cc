#include "outside/admin/suite_setup.h"

#include <cstring>
#include <filesystem>

#include "outside/database/naturezas.h"
#include "outside/database/outside_codes.h"
#include "outside/database/postgres_connection.h"
#include "outside/database/sql_statement.h"
#include "outside/database/suite_schema.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/owner_access.h"
#include "platform/path.h"
#include "storage/folders/folders.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr size_t kMaxCompanyCode = 24;
constexpr const char* kNamedFolders[] = {"Ajuda",   "Mensagens", "Cadastros", "Relatorios",
                                         "Imagens", "BackUp",    "LocalTarvo"};
constexpr int kInstalledModules[] = {kModuloInstalacao, kModuloDadosBase};

std::string SubKey(std::string_view key, std::string_view name) {
  return std::string(key) + "\\" + std::string(name);
}

std::string ModuleKey(int module) {
  return SubKey(kSuiteKey, FindSuiteModule(module)->registryName);
}

// The absolute form of folder, with a separator at its end.
std::string FolderPath(const std::string& folder) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, ignored);
  return WithTrailingSeparator(absolute.lexically_normal().string());
}

// Creates the folder and those missing above it, each made as a new folder of
// `model` (by default the folder above it) is: its owner's, or its office's.
HRESULT MakeFolder(const std::string& folder, std::string* message,
                   const std::string& model = "") {
  const int error = MakeFolders(folder, model);
  if (error == 0) return S_OK;
  *message = FormatText("N\xE3o foi poss\xEDvel criar a pasta \"%s\": %s", folder.c_str(),
                        std::strerror(error));
  return E_FAIL;
}

HRESULT ApplyRegistry(const Registry& registry, const RegEdit& edit, std::string* message) {
  const long error = registry.Apply(edit);
  if (error == ERROR_SUCCESS) return S_OK;
  *message = FormatText("N\xE3o foi poss\xEDvel gravar o registro \"%s\" (erro %ld).",
                        registry.machine_file().c_str(), error);
  return HRESULT_FROM_WIN32(static_cast<int32_t>(error));
}

HRESULT WriteEmptyLogIni(const std::string& path, std::string* message) {
  if (std::filesystem::exists(path)) return S_OK;
  static constexpr char kText[] = "[Log]\n";
  CFile file;
  try {
    if (file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite)) {
      file.Write(kText, sizeof kText - 1);
      file.Close();
      return S_OK;
    }
  } catch (CFileException* error) {
    error->Delete();
  }
  *message = FormatText("N\xE3o foi poss\xEDvel gravar \"%s\".", path.c_str());
  return E_FAIL;
}

// The installation folder, private or of the office group when one is named.
HRESULT MakeInstallationFolder(const std::string& folder, const std::string& group,
                               std::string* message) {
  if (group.empty()) return MakeFolder(folder, message);
  const std::string why = MakeOwnFolder(folder, group);
  if (why.empty()) return S_OK;
  *message = Utf8ToCp1252(why);
  return E_ACCESSDENIED;
}

HRESULT Seed(SuiteDatabase& db, const CompanySeed& seed) {
  SqlStatement company(db,
                       "INSERT INTO empresa (id, codigo, nome, usa_quantidade_gerencial, "
                       "exercicio, data_inicial, data_final, codigo_cliente) "
                       "VALUES (1, ?, ?, ?, ?, ?, ?, ?)");
  company.BindText(1, seed.codigo).BindText(2, seed.nome).Bind(3, seed.usaQuantidadeGerencial);
  company.Bind(4, seed.exercicio).Bind(5, seed.dataInicial).Bind(6, seed.dataFinal);
  HRESULT hr = company.Bind(7, seed.codigoCliente).Run();
  for (const char* sistema : {"CN", "DF", "GED"}) {
    if (FAILED(hr) || (!seed.ged && std::string_view(sistema) == "GED")) continue;
    SqlStatement insert(db, "INSERT INTO tipos_sistemas (sigla) VALUES (?)");
    hr = insert.BindText(1, sistema).Run();
  }
  for (const FilialCadastro& filial : seed.filiais) {
    if (SUCCEEDED(hr)) hr = AdicionaFilial(db, filial);
  }
  for (const UsuarioCadastro& usuario : seed.usuarios) {
    if (SUCCEEDED(hr)) hr = AdicionaUsuario(db, usuario);
  }
  for (const ContaCadastro& conta : seed.contas) {
    if (SUCCEEDED(hr)) hr = AdicionaConta(db, conta);
  }
  for (const HistoricoCadastro& historico : seed.historicos) {
    if (SUCCEEDED(hr)) hr = AdicionaHistorico(db, historico);
  }
  for (const RegraNatureza& regra : seed.naturezas) {
    if (SUCCEEDED(hr)) hr = DefineNatureza(db, regra);
  }
  return hr;
}

void RemoveDatabase(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix, ignored);
}

}  // namespace

bool IsValidCompanyCode(std::string_view codigo) {
  if (codigo.empty() || codigo.size() > kMaxCompanyCode) return false;
  for (const char c : codigo) {
    const bool letterOrDigit =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '_' && c != '-') return false;
  }
  return true;
}

HRESULT CreateInstallation(const Registry& registry, const std::string& folder,
                           std::string* message, const std::string& group) {
  if (folder.empty()) {
    *message = "Falta a pasta da instala\xE7\xE3o.";
    return E_INVALIDARG;
  }
  const std::string base = FolderPath(folder);
  HRESULT hr = MakeInstallationFolder(base, group, message);
  if (SUCCEEDED(hr)) hr = MakeFolder(base + "x64", message);
  RegEdit edit;
  for (const int module : kInstalledModules) {
    edit.SetString(ModuleKey(module), "Path", base);
    edit.SetString(ModuleKey(module), "Path_x64", base + "x64/");
  }
  for (const char* name : kNamedFolders) {
    if (SUCCEEDED(hr)) hr = MakeFolder(base + name, message);
    edit.SetString(std::string(kSuiteKey), name, base + name + "/");
  }
  edit.CreateKey(std::string(kCompaniesKey));
  if (SUCCEEDED(hr)) hr = WriteEmptyLogIni(base + "log.ini", message);
  if (SUCCEEDED(hr)) hr = ApplyRegistry(registry, edit, message);
  // The office finds its books through the registry, which only the
  // administrator may change.
  if (const std::string why = SUCCEEDED(hr) && !group.empty()
                                  ? ShareForReading(registry.machine_file(), group)
                                  : "";
      !why.empty()) {
    *message = Utf8ToCp1252(why);
    hr = E_ACCESSDENIED;
  }
  return hr;
}

std::string InstalledFolder(const Registry& registry) {
  std::string folder;
  if (registry.GetString(ModuleKey(kModuloInstalacao), "Path", &folder) != ERROR_SUCCESS) return "";
  return WithTrailingSeparator(ToPlatformPath(folder));
}

std::string RegisteredCompanyFolder(const Registry& registry, std::string_view codigo) {
  std::string folder;
  if (!IsValidCompanyCode(codigo) ||
      registry.GetString(SubKey(kCompaniesKey, codigo), "DF", &folder) != ERROR_SUCCESS) {
    return "";
  }
  return WithTrailingSeparator(ToPlatformPath(folder));
}

HRESULT OpenRegisteredCompany(const Registry& registry, std::string_view codigo,
                              std::shared_ptr<SuiteDatabase>* db, std::string* message) {
  if (RegisteredCompanyFolder(registry, codigo).empty()) {
    *message =
        FormatText("A empresa \"%s\" n\xE3o est\xE1 cadastrada.", std::string(codigo).c_str());
    return E_QXDF_EMPRESA_SEM_PASTA;
  }
  return OpenCompanyDatabase(registry, codigo, db, message);
}

HRESULT CreateCompanyDatabase(const CompanyDatabaseLocation& where, const CompanySeed& seed,
                              std::string* message) {
  const bool sqlite = where.postgres.empty();
  const std::string path = where.SqlitePath();
  if (sqlite && std::filesystem::exists(path)) {
    *message = FormatText("O banco de dados \"%s\" j\xE1 existe; nada foi alterado.", path.c_str());
    return E_QXDF_JA_EXISTE;
  }
  HRESULT hr = MakeFolder(where.folder, message);
  if (FAILED(hr)) return hr;
  std::shared_ptr<SuiteDatabase> db;
  hr = OpenDatabaseAt(where, SuiteDatabase::Mode::kNew, &db, message);
  if (SUCCEEDED(hr)) {
    hr = db->Write([&] {
      const HRESULT migrated = MigrateSchema(*db);
      return SUCCEEDED(migrated) ? Seed(*db, seed) : migrated;
    });
    if (FAILED(hr)) *message = db->message();
  }
  db.reset();
  if (FAILED(hr) && sqlite) RemoveDatabase(path);
  return hr;
}

HRESULT CreateCompanyDatabase(const std::string& dfFolder, const CompanySeed& seed,
                              std::string* message) {
  return CreateCompanyDatabase(CompanyDatabaseLocation{dfFolder, ""}, seed, message);
}

HRESULT CreateCompany(const Registry& registry, const CompanySeed& seed, const std::string& root,
                      std::string* message, const std::string& postgres) {
  if (!IsValidCompanyCode(seed.codigo)) {
    *message = FormatText(
        "C\xF3"
        "digo de empresa inv\xE1lido: \"%s\" (de 1 a 24 letras, "
        "d\xEDgitos, '_' ou '-').",
        seed.codigo.c_str());
    return E_INVALIDARG;
  }
  const std::string key = SubKey(kCompaniesKey, seed.codigo);
  if (registry.HasValue(key, "DF") == ERROR_SUCCESS) {
    *message = FormatText("A empresa \"%s\" j\xE1 existe.", seed.codigo.c_str());
    return E_QXDF_JA_EXISTE;
  }
  const std::string installation = InstalledFolder(registry);
  if (root.empty() && installation.empty()) {
    *message = "N\xE3o h\xE1 instala\xE7\xE3o no registro: indique a pasta da empresa.";
    return E_INVALIDARG;
  }
  const std::string base =
      FolderPath(root.empty() ? installation + "Empresas/" + seed.codigo : root);
  // A company of an office's installation is the office's wherever it lies.
  HRESULT hr = MakeFolder(base, message, installation);
  if (SUCCEEDED(hr)) {
    hr = CreateCompanyDatabase(CompanyDatabaseLocation{base + "DF/", postgres}, seed, message);
  }
  if (SUCCEEDED(hr)) hr = MakeFolder(base + "CN", message);
  if (FAILED(hr)) return hr;
  RegEdit edit;
  edit.CreateKey(key).SetString(key, "DF", base + "DF/").SetString(key, "CN", base + "CN/");
  if (!postgres.empty()) edit.SetString(key, kConexaoPostgreSQL, postgres);
  return ApplyRegistry(registry, edit, message);
}

}  // namespace qx
