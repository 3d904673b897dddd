// Dumps one record file of a company folder, choosing its layout by name.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "dump_context.h"

namespace qx::dump {

enum ExitCode {
  kExitOk = 0,
  kExitUnreadable = 1,  // the file cannot be opened or read at all
  kExitUsage = 2,       // bad arguments or a file name of no known layout
  kExitDamaged = 3,     // printed what could be read; the notes tell the damage
};

struct Options {
  bool json = false;
  std::optional<Range> range;
};

ExitCode DumpFile(const std::string& path, const Options& options, std::ostream& out,
                  std::ostream& err);

}  // namespace qx::dump
