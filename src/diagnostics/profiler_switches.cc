#include "diagnostics/profiler_switches.h"

#include <algorithm>
#include <cctype>

namespace qx {

bool ProfilerSwitchedOn(const ProfilerConfig& c) {
  if ((c.performance || c.memory) && !c.entrada && !c.saida) return false;
  return c.entrada || c.saida || c.coCreateInstance;
}

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

bool ProcessFilterPasses(const std::string& processos, const std::string& processName) {
  const std::string words = Lower(processos);
  if (words.find("todos") != std::string::npos) return true;
  // The name as the original platform gives it, so that a word written for
  // it ("ostrel.exe") matches here too.
  std::string name = Lower(processName);
  if (!name.ends_with(".exe")) name += ".exe";
  static constexpr const char* kSeparators = ";, \t";
  size_t start = words.find_first_not_of(kSeparators);
  while (start != std::string::npos) {
    size_t end = words.find_first_of(kSeparators, start);
    if (name.find(words.substr(start, end - start)) != std::string::npos) return true;
    start = words.find_first_not_of(kSeparators, end);
  }
  return false;
}

}  // namespace qx
