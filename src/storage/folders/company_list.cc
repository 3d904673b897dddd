#include <algorithm>

#include "platform/codepage.h"
#include "platform/registry.h"
#include "storage/folders/folders.h"

namespace qx {

bool CompanyList(std::string_view valueName, std::vector<std::string>* companies) {
  companies->clear();
  const std::string root(kCompaniesKey);
  std::vector<std::string> names;
  if (RegEnumSubKeys(root, &names) != ERROR_SUCCESS) return false;
  for (const std::string& name : names) {
    std::vector<std::string> values;
    if (RegEnumValues(root + '\\' + name, &values) != ERROR_SUCCESS) {
      companies->clear();
      return false;
    }
    const bool has = std::any_of(values.begin(), values.end(), [&](const std::string& value) {
      return Cp1252EqualNoCase(value, valueName);
    });
    if (has) companies->push_back(name.substr(0, kCompanyCodeLength));
  }
  return true;
}

}  // namespace qx
