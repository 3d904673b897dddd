#include "storage/folders/modules.h"

namespace qx {
namespace {

constexpr SuiteModule kModules[] = {
    {kModuloEscritaFiscal, "QXEscritaFiscal", "EF"},
    {kModuloContabilidade, "QXContabilidade", "CN"},
    {kModuloFolha, "QXFolha", "FP"},
    {kModuloPatrimonio, "QXPatrimonio", "PT"},
    {kModuloFinanceiro, "QXFinanceiro", "FN"},
    {kModuloEstoque, "QXEstoque", "ES"},
    {kModuloDadosBase, "QXDadosBase", "DF"},
    {kModuloNFe, "QXNFe", "NFE"},
    {kModuloApuracao, "QXApuracao", "AP"},
};

}  // namespace

const SuiteModule* FindSuiteModule(int code) {
  for (const SuiteModule& module : kModules) {
    if (module.code == code) return &module;
  }
  return nullptr;
}

}  // namespace qx
