#include "diagnostics/error_report.h"

#include <string>

#include "platform/process_info.h"
#include "storage/folders/folders.h"

namespace qx {

void ReportaErro(HRESULT codigo, HRESULT hr, const char* empresa, const char* unidade, int linha,
                 const char* texto) {
  const Library library = LoadSuiteLibrary("QXMens.dll", kModuloInstalacao);
  const auto report = library.Function<QXTrataErroExportedFn>("QXTrataErroExported");
  if (report == nullptr) return;
  std::string executavel = ExecutablePath();
  if (executavel.size() > kMaxCaminhoExecutavel) executavel.resize(kMaxCaminhoExecutavel);
  report(codigo, hr, kNumeroRelatorio, empresa, unidade != nullptr ? unidade : "", linha, 1,
         nullptr, executavel.c_str(), texto != nullptr ? texto : "");
}

}  // namespace qx
