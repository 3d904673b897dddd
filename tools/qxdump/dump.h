// Dumps one record file of a company folder, choosing its layout by name.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "dump_context.h"

namespace qx::dump {

enum class Form { kTable, kJson, kCsv, kPlanilha };

struct Options {
  Form form = Form::kTable;
  std::optional<Range> range;
};

// Prints the file on out. A file name of no known layout throws cli::ErroUso,
// a file that cannot be opened cli::FalhaLocal; a damaged file is printed as
// far as it reads, and then throws cli::FalhaLocal (the notes tell the damage).
void DumpFile(const std::string& path, const Options& options, std::ostream& out);

}  // namespace qx::dump
