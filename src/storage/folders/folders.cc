#include "storage/folders/folders.h"

#include <utility>

#include "platform/codepage.h"
#include "platform/path.h"
#include "platform/registry.h"

namespace qx {
namespace {

constexpr std::string_view kPath = "Path";
constexpr std::string_view kPath64 = "Path_x64";
constexpr std::string_view kNFeFolder = "NFe";
constexpr std::string_view kReportsFolder = "Relatorios";
constexpr std::string_view kBaseDataFolder = "DF";

std::string SubKey(std::string_view key, std::string_view name) {
  std::string path(key);
  path += '\\';
  path += name;
  return path;
}

// Modules 23 and 26 keep their installation and data under module 1's entries.
int EntryModule(int module) {
  return (module == kModuloNFe || module == kModuloApuracao) ? kModuloEscritaFiscal : module;
}

// A folder value with its trailing separator; false when the value is absent.
bool ReadFolder(const std::string& key, std::string_view name, std::string* folder) {
  std::string value;
  if (RegGetString(key, std::string(name), &value) != ERROR_SUCCESS) return false;
  *folder = WithTrailingSeparator(std::move(value));
  return true;
}

std::string InstallationValue(int module, std::string_view valueName,
                              std::string_view defaultFolder) {
  const SuiteModule* entry = FindSuiteModule(EntryModule(module));
  std::string folder;
  if (entry == nullptr || !ReadFolder(SubKey(kSuiteKey, entry->registryName), valueName, &folder)) {
    return std::string(defaultFolder);
  }
  return folder;
}

// A company code names one subkey of "Empresas": an empty code or one holding
// a key separator would read some other key.
bool IsCompanyCode(std::string_view company) {
  return !company.empty() && company.find('\\') == std::string_view::npos;
}

std::string CompanyValue(std::string_view company, std::string_view abbreviation) {
  std::string folder;
  if (IsCompanyCode(company)) ReadFolder(SubKey(kCompaniesKey, company), abbreviation, &folder);
  return folder;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Where the last path component "DF" (any case) starts, or npos.
size_t BaseDataComponent(std::string_view folder) {
  const size_t length = kBaseDataFolder.size();
  for (size_t pos = folder.size(); pos-- > 0;) {
    const bool starts = pos == 0 || IsSeparator(folder[pos - 1]);
    if (starts && pos + length < folder.size() && IsSeparator(folder[pos + length]) &&
        Cp1252EqualNoCase(folder.substr(pos, length), kBaseDataFolder)) {
      return pos;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string WithTrailingSeparator(std::string folder) {
  if (!folder.empty() && !IsSeparator(folder.back())) folder += kPathSeparator;
  return folder;
}

std::string InstallationFolder(int module, std::string_view defaultFolder) {
  return InstallationValue(module, kPath, defaultFolder);
}

std::string InstallationFolder64(int module, std::string_view defaultFolder) {
  return InstallationValue(module, kPath64, defaultFolder);
}

std::string NamedFolder(std::string_view valueName, std::string_view defaultFolder) {
  std::string folder;
  if (!ReadFolder(std::string(kSuiteKey), valueName, &folder)) return std::string(defaultFolder);
  return folder;
}

std::string ReportsFolder(std::string_view company) {
  std::string folder = CompanyValue(company, kBaseDataFolder);
  if (folder.empty()) return folder;
  const size_t cut = BaseDataComponent(folder);
  if (cut != std::string_view::npos) folder.resize(cut);
  folder += kReportsFolder;
  folder += kPathSeparator;
  return folder;
}

std::string CompanyFolder(int module, std::string_view company) {
  const SuiteModule* entry = FindSuiteModule(EntryModule(module));
  if (entry == nullptr) return std::string();
  std::string folder = CompanyValue(company, entry->abbreviation);
  if (module == kModuloNFe && !folder.empty()) {
    folder += kNFeFolder;
    folder += kPathSeparator;
  }
  return folder;
}

}  // namespace qx
