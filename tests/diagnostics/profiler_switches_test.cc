#include "diagnostics/profiler_switches.h"

#include <gtest/gtest.h>

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
  EXPECT_TRUE(ProcessFilterPasses("qxfolha;TODOS", "anything"));
  EXPECT_TRUE(ProcessFilterPasses("QXFOLHA, OSTREL", "ostrel.exe"));
  EXPECT_TRUE(ProcessFilterPasses("a b\tstrel", "ostrel.exe"));  // substring match
  EXPECT_FALSE(ProcessFilterPasses("qxfolha;qxcaixa", "ostrel.exe"));
  // Separators alone, or nothing, give no word: no process passes.
  EXPECT_FALSE(ProcessFilterPasses(" ;, ", "ostrel.exe"));
  EXPECT_FALSE(ProcessFilterPasses("", "ostrel.exe"));
}

}  // namespace
}  // namespace qx
