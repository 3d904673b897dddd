// The company's change log as the check of its folder compares with it: the
// operation it noted last as ended, the months it knows entries of, and the
// last image of each entry position.
#pragma once

#include <string>

#include "storage/check/check_folder.h"

namespace qx::check {

// False with *error when the company's database cannot be opened or read.
bool ReadCompanyLog(const std::string& company, LogDaEmpresa* log, std::string* error);

}  // namespace qx::check
