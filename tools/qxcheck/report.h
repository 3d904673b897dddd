// The report of a check: lines for people, or one JSON object, or the
// findings as CSV.
#pragma once

#include "common/saida.h"
#include "storage/check/check_folder.h"

namespace qx::check {

void Show(const Report& report, cli::Saida& saida);
// The kinds of findings with their gravity.
void ShowKinds(cli::Saida& saida);

}  // namespace qx::check
