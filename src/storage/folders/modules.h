// The suite's product modules: per module code, the registry key of its
// installation and the abbreviation that names its folder in a company key.
#pragma once

#include <string_view>

namespace qx {

struct SuiteModule {
  int code;
  std::string_view registryName;  // key under the suite's base key
  std::string_view abbreviation;  // value name under "Empresas\<company>"
};

inline constexpr int kModuloEscritaFiscal = 1;
inline constexpr int kModuloContabilidade = 2;  // "CN": this server's module
inline constexpr int kModuloFolha = 3;
inline constexpr int kModuloPatrimonio = 4;
inline constexpr int kModuloFinanceiro = 5;
inline constexpr int kModuloEstoque = 6;
inline constexpr int kModuloDadosBase = 10;  // "DF": the company's base data
inline constexpr int kModuloNFe = 23;        // lives in module 1's folders
inline constexpr int kModuloApuracao = 26;   // lives in module 1's folders

// The module of a code, or null for a code the table does not know.
const SuiteModule* FindSuiteModule(int code);

}  // namespace qx
