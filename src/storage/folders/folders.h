// Where the suite is installed and where each company's data lives, read from
// the machine registry under the suite's base key. Every folder read from the
// registry ends with a path separator (one is added when the value lacks it);
// an empty value stays empty. Nothing here writes to the registry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/library.h"
#include "storage/folders/modules.h"

namespace qx {

inline constexpr std::string_view kSuiteKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas";
inline constexpr std::string_view kCompaniesKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\Empresas";

// Folder values directly under the base key.
inline constexpr std::string_view kPastaAjuda = "Ajuda";
inline constexpr std::string_view kPastaMensagens = "Mensagens";
inline constexpr std::string_view kPastaCadastros = "Cadastros";
inline constexpr std::string_view kPastaRelatorios = "Relatorios";
inline constexpr std::string_view kPastaImagens = "Imagens";
inline constexpr std::string_view kPastaBackUp = "BackUp";
inline constexpr std::string_view kPastaLocalTarvo = "LocalTarvo";

// The installation whose folder holds this server's configuration and the
// suite libraries it loads.
inline constexpr int kModuloInstalacao = kModuloContabilidade;

// folder with a separator at its end; a folder ending in '/' or '\\' is kept,
// an empty one stays empty.
std::string WithTrailingSeparator(std::string folder);

// The module's 32-bit ("Path") and 64-bit ("Path_x64") installation folder, or
// defaultFolder when the module, its key or the value is missing.
std::string InstallationFolder(int module, std::string_view defaultFolder);
std::string InstallationFolder64(int module, std::string_view defaultFolder);

// A folder value under the base key (kPasta...), or defaultFolder.
std::string NamedFolder(std::string_view valueName, std::string_view defaultFolder);

// The company's reports folder: its "DF" folder cut before the last "DF"
// component, followed by "Relatorios/"; empty without a "DF" value.
std::string ReportsFolder(std::string_view company);

// The company's data folder of a module; empty when absent. Module 26 uses
// module 1's folder and module 23 module 1's folder followed by "NFe/".
std::string CompanyFolder(int module, std::string_view company);

// The companies (subkeys of "Empresas") whose key has a value named
// valueName, in registry order, each cut to 24 characters. False, with an
// empty list, when the "Empresas" key or a company key cannot be read.
bool CompanyList(std::string_view valueName, std::vector<std::string>* companies);
inline constexpr size_t kCompanyCodeLength = 24;

// A suite library by its Windows file name ("QXMens.dll"): the shared object
// of the same base name with ".so" in the "x64" subfolder of the module's
// installation folder. Closed when the installation or the file is missing.
Library LoadSuiteLibrary(std::string_view fileName, int module);

}  // namespace qx
