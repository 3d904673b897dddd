// The profiler's configuration: section "Log" of "log.ini".
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// Section "Log" of "log.ini". A flag is on only when its value is exactly 1.
struct ProfilerConfig {
  bool entrada = false;                // "Entrada": write the entry line of each call
  bool saida = false;                  // "Saida": write the exit line of each call
  bool trace = false;                  // "Trace": kept, no line depends on it
  bool coCreateInstance = false;       // "CoCreateInstance": write a line per peer creation
  bool performance = false;            // "Performance": measure the duration of each call
  bool memory = false;                 // "Memory": measure the process's memory
  int64_t timeoutConfigSeconds = 600;  // "TimeoutConfig": validity of a reading
  std::string processos = "todos";     // "Processos": processes whose calls are written
};

// Reads the configuration from the file at iniPath. A missing file, section or
// key gives the default; a negative "TimeoutConfig" counts as 0.
ProfilerConfig ReadProfilerConfig(const std::string& iniPath);

}  // namespace qx
