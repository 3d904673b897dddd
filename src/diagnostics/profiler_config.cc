#include "diagnostics/profiler_config.h"

#include <algorithm>

#include "platform/profile.h"

namespace qx {
namespace {

constexpr char kSection[] = "Log";
constexpr size_t kProcessosLength = 260;

bool Flag(const char* key, const std::string& file) {
  return GetPrivateProfileInt(kSection, key, 0, file) == 1;
}

}  // namespace

ProfilerConfig ReadProfilerConfig(const std::string& iniPath) {
  ProfilerConfig config;
  config.entrada = Flag("Entrada", iniPath);
  config.saida = Flag("Saida", iniPath);
  config.trace = Flag("Trace", iniPath);
  config.coCreateInstance = Flag("CoCreateInstance", iniPath);
  config.performance = Flag("Performance", iniPath);
  config.memory = Flag("Memory", iniPath);
  config.timeoutConfigSeconds =
      std::max(0, GetPrivateProfileInt(kSection, "TimeoutConfig", 600, iniPath));
  config.processos = GetPrivateProfileString(kSection, "Processos", "todos", iniPath);
  if (config.processos.size() > kProcessosLength) config.processos.resize(kProcessosLength);
  return config;
}

}  // namespace qx
