#include "diagnostics/error_names.h"

#include <cstdint>

#include "diagnostics/hresult.h"
#include "diagnostics/suite_tables.h"
#include "diagnostics/winerror_table.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

std::string Text(const char* text) {
  if (text == nullptr) return std::string();
  std::string result(text);
  if (result.size() > kMaxTextoNome) result.resize(kMaxTextoNome);
  return result;
}

std::string LibraryDescription(HRESULT hr) {
  const Library library = LoadSuiteLibrary("QXLMensagem.dll", kModuloInstalacao);
  const auto describe = library.Function<QXGetDescricaoHRESULTFn>("QXGetDescricaoHRESULT");
  return describe == nullptr ? std::string() : Text(describe(hr));
}

}  // namespace

std::string SeverityName(HRESULT hr) {
  return HresultSeverity(hr) != 0 ? "SEVERITY_ERROR" : "SEVERITY_SUCCESS";
}

std::string FacilityName(HRESULT hr) {
  const int facility = HresultFacility(hr);
  const char* name = FindWinErrorName(kSdkFacilityNames, kSdkFacilityNamesCount, facility);
  if (name == nullptr) name = SuiteFacilityName(facility);
  return name != nullptr ? name
                         : "Desconhecido ou novo c\xF3"
                           "digo de FACILITY";
}

std::string CodeName(HRESULT hr) {
  if (HresultFacility(hr) == FACILITY_ITF) return std::string();
  return Text(FindWinErrorName(kSdkSystemErrorNames, kSdkSystemErrorNamesCount, HresultCode(hr)));
}

std::string SymbolicName(HRESULT hr) {
  return Text(FindWinErrorName(kSdkHresultNames, kSdkHresultNamesCount, static_cast<uint32_t>(hr)));
}

}  // namespace qx

std::string QXDescricaoHresult(HRESULT hr) {
  if (qx::HresultFacility(hr) == FACILITY_ITF) {
    const char* text = qx::SuiteMessageText(qx::HresultCode(hr));
    if (text != nullptr) return text;
  }
  return qx::LibraryDescription(hr);
}
