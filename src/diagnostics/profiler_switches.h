// The switches derived from the profiler's configuration.
#pragma once

#include <string>

#include "diagnostics/profiler_config.h"

namespace qx {

// On when entry, exit or peer-creation lines are asked for, except that
// measuring ("Performance", "Memory") without entry or exit lines keeps it off.
bool ProfilerSwitchedOn(const ProfilerConfig& config);

// True when processos (compared in lower case) holds "todos", or one of its
// words (separated by ';', ',' or blanks) occurs in processName, taken in
// lower case and with ".exe" at its end (so "OSTREL.EXE" and "ostrel" both
// pass the process "ostrel").
bool ProcessFilterPasses(const std::string& processos, const std::string& processName);

}  // namespace qx
