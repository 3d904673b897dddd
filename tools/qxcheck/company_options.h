// The company's options of the difference totals, as the server reads them at
// start: from the company's configuration in its suite database.
#pragma once

#include <string>

#include "storage/check/difference_check.h"

namespace qx::check {

// False with *error when the company's database cannot be opened or read.
bool ReadCompanyOptions(const std::string& company, DifferenceOptions* options, std::string* error);

// The company's accounting ("CN") folder; empty when the registry has none.
std::string CompanyAccountingFolder(const std::string& company);

}  // namespace qx::check
