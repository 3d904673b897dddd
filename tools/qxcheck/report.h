// The report of a check, for people or as one JSON object.
#pragma once

#include <iosfwd>

#include "storage/check/check_folder.h"

namespace qx::check {

void PrintText(const Report& report, std::ostream& out);
void PrintJson(const Report& report, std::ostream& out);
// The kinds of findings with their gravity, one a line.
void PrintKinds(std::ostream& out);

}  // namespace qx::check
