// The process-wide profiler configuration: read from "log.ini" in the
// installation folder on first use and again at the first use after its
// validity ("TimeoutConfig") has run out.
#pragma once

#include <string>

namespace qx {

struct ProfilerSwitches {
  bool ligado = false;            // the profiler is on
  bool entrada = false;           // entry lines
  bool saida = false;             // exit lines
  bool coCreateInstance = false;  // peer-creation lines
  bool performance = false;       // measure durations
  bool memory = false;            // measure memory
  bool filtroPassa = false;       // "Processos" passes this process
};

// Whether the profiler is on, after reading the configuration when it is due.
// When it is not due this costs a tick count and two atomic loads.
bool ProfilerIsOn();
// The switches of the last reading (without reading).
ProfilerSwitches CurrentProfilerSwitches();
// The installation folder found at the last reading; empty when none is set.
std::string ProfilerInstallationFolder();

// Tests: forget the last reading, so that the next use reads "log.ini" again.
void ForgetProfilerConfigurationForTesting();

// This process's executable base name in lower case, and its operating-system
// user, taken once.
const std::string& ProfilerProcessName();
const std::string& ProfilerLocalUser();

}  // namespace qx
