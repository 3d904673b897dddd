#include "contract/code_names.h"

#include <cstdint>

#include "contract/hresult.h"
#include "contract/suite_tables.h"
#include "contract/winerror_table.h"

namespace qx {

std::string NameText(const char* text) {
  if (text == nullptr) return std::string();
  std::string result(text);
  if (result.size() > kMaxTextoNome) result.resize(kMaxTextoNome);
  return result;
}

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
  return NameText(FindWinErrorName(kSdkSystemErrorNames, kSdkSystemErrorNamesCount, HresultCode(hr)));
}

std::string SymbolicName(HRESULT hr) {
  return NameText(FindWinErrorName(kSdkHresultNames, kSdkHresultNamesCount, static_cast<uint32_t>(hr)));
}

}  // namespace qx
