// Checks a company folder's record files, read-only, and reports every
// inconsistency found (see finding.h for the two gravities).
#pragma once

#include <string>

#include "storage/check/difference_check.h"
#include "storage/check/finding.h"

namespace qx::check {

struct Report {
  std::string folder;
  size_t files = 0;  // files of known names read
  DifferenceOptions options;
  Findings findings;
  bool Sound() const { return findings.Count(Gravity::kDamage) == 0; }
};

// False with *error when the folder cannot be listed; otherwise *report holds
// the findings (files that cannot be read among them).
bool CheckFolder(const std::string& folder, const DifferenceOptions& options, Report* report,
                 std::string* error);

}  // namespace qx::check
