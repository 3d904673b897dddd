#include "diagnostics/profiler_switches.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace qx {
namespace {

TEST(ProfilerSwitches, OnOffRule) {
  // Entrada, Saida, CoCreateInstance, Performance, Memory: measuring alone
  // writes nothing, and switches peer-creation lines off unless calls are written.
  const std::pair<std::string, bool> cases[] = {{"", false},   {"E", true},   {"S", true},
                                                {"C", true},   {"P", false},  {"M", false},
                                                {"CP", false}, {"SCM", true}, {"EPM", true}};
  for (const auto& [flags, on] : cases) {
    ProfilerConfig c;
    c.entrada = flags.find('E') != std::string::npos;
    c.saida = flags.find('S') != std::string::npos;
    c.coCreateInstance = flags.find('C') != std::string::npos;
    c.performance = flags.find('P') != std::string::npos;
    c.memory = flags.find('M') != std::string::npos;
    EXPECT_EQ(ProfilerSwitchedOn(c), on) << flags;
  }
}

TEST(ProfilerSwitches, ProcessFilter) {
  // Processos, the process's name, whether it passes.
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"qxfolha;TODOS", "anything", true},
      {"QXFOLHA, OSTREL", "ostrel.exe", true},
      {"a b\tstrel", "ostrel.exe", true},  // substring match
      {"qxfolha;qxcaixa", "ostrel.exe", false},
      // A log.ini written for Windows names the process with ".exe".
      {"qxfolha;OSTREL.EXE", "ostrel", true},
      {"ostrel.exe", "Ostrel", true},
      {"ostrel", "ostrel", true},
      {"ostrel.exe", "ostrelx", false},
      // Separators alone, or nothing, give no word: no process passes.
      {" ;, ", "ostrel.exe", false},
      {"", "ostrel", false},
  };
  for (const auto& [processos, name, passes] : cases) {
    EXPECT_EQ(ProcessFilterPasses(processos, name), passes) << processos << " / " << name;
  }
}

}  // namespace
}  // namespace qx
