// The bash completion of a tool, written from its option tables.
#pragma once

#include <string>

#include "common/programa.h"

namespace qx::cli {

// A bash script that completes the tool's subcommands, options and choices,
// and file names where a subcommand or option takes a file.
std::string ScriptCompletacao(const Programa& programa);

}  // namespace qx::cli
