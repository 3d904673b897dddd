#include "diagnostics/code_description.h"

#include "contract/code_names.h"
#include "contract/hresult.h"
#include "contract/suite_tables.h"
#include "storage/folders/folders.h"

std::string QXDescricaoHresult(HRESULT hr) {
  if (qx::HresultFacility(hr) == FACILITY_ITF) {
    const char* text = qx::SuiteMessageText(qx::HresultCode(hr));
    if (text != nullptr) return text;
  }
  const qx::Library library = qx::LoadSuiteLibrary("QXLMensagem.dll", qx::kModuloInstalacao);
  const auto describe = library.Function<qx::QXGetDescricaoHRESULTFn>("QXGetDescricaoHRESULT");
  return describe == nullptr ? std::string() : qx::NameText(describe(hr));
}
