#include "diagnostics/profiler_switches.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

ProfilerConfig Flags(bool entrada, bool saida, bool coCreate, bool performance, bool memory) {
  ProfilerConfig c;
  c.entrada = entrada;
  c.saida = saida;
  c.coCreateInstance = coCreate;
  c.performance = performance;
  c.memory = memory;
  return c;
}

TEST(ProfilerSwitches, OnOffRule) {
  EXPECT_FALSE(ProfilerSwitchedOn(ProfilerConfig{}));
  EXPECT_TRUE(ProfilerSwitchedOn(Flags(true, false, false, false, false)));
  EXPECT_TRUE(ProfilerSwitchedOn(Flags(false, true, false, false, false)));
  EXPECT_TRUE(ProfilerSwitchedOn(Flags(false, false, true, false, false)));
  // Measuring alone writes nothing.
  EXPECT_FALSE(ProfilerSwitchedOn(Flags(false, false, false, true, false)));
  EXPECT_FALSE(ProfilerSwitchedOn(Flags(false, false, false, false, true)));
  // ... and measuring switches peer-creation lines off unless calls are written.
  EXPECT_FALSE(ProfilerSwitchedOn(Flags(false, false, true, true, false)));
  EXPECT_TRUE(ProfilerSwitchedOn(Flags(false, true, true, false, true)));
  EXPECT_TRUE(ProfilerSwitchedOn(Flags(true, false, false, true, true)));
}

TEST(ProfilerSwitches, ProcessFilter) {
  EXPECT_TRUE(ProcessFilterPasses("todos", "anything"));
  EXPECT_TRUE(ProcessFilterPasses("qxfolha;TODOS", "anything"));
  EXPECT_TRUE(ProcessFilterPasses("qxfolha;ostrel", "ostrel.exe"));
  EXPECT_TRUE(ProcessFilterPasses("QXFOLHA, OSTREL", "ostrel.exe"));
  EXPECT_TRUE(ProcessFilterPasses("a b\tstrel", "ostrel.exe"));  // substring match
  EXPECT_FALSE(ProcessFilterPasses("qxfolha;qxcaixa", "ostrel.exe"));
  // Separators alone give no word, and no word matches everything.
  EXPECT_FALSE(ProcessFilterPasses(" ;, ", "ostrel.exe"));
  EXPECT_FALSE(ProcessFilterPasses("", "ostrel.exe"));
}

}  // namespace
}  // namespace qx
