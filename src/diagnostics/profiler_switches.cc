#include "diagnostics/profiler_switches.h"

#include <algorithm>
#include <cctype>

namespace qx {

bool ProfilerSwitchedOn(const ProfilerConfig& c) {
  if ((c.performance || c.memory) && !c.entrada && !c.saida) return false;
  return c.entrada || c.saida || c.coCreateInstance;
}

bool ProcessFilterPasses(const std::string& processos, const std::string& processName) {
  std::string words = processos;
  std::transform(words.begin(), words.end(), words.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (words.find("todos") != std::string::npos) return true;
  static constexpr const char* kSeparators = ";, \t";
  size_t start = words.find_first_not_of(kSeparators);
  while (start != std::string::npos) {
    size_t end = words.find_first_of(kSeparators, start);
    if (processName.find(words.substr(start, end - start)) != std::string::npos) return true;
    start = words.find_first_not_of(kSeparators, end);
  }
  return false;
}

}  // namespace qx
