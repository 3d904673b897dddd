// The process facts and identifiers that profiler records carry.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "platform/guid.h"
#include "platform/process_info.h"

namespace qx {
namespace {

TEST(ProfilerProcessFacts, GuidGenerationAndText) {
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    GUID guid{};
    ASSERT_EQ(CoCreateGuid(&guid), S_OK);
    std::string text = GuidToText(guid);
    EXPECT_THAT(text, ::testing::MatchesRegex(
                          "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}"));
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 100u);

  // The Windows layout: Data1 to Data3 as numbers, Data4 byte by byte.
  GUID known{0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
  EXPECT_EQ(GuidToText(known), "0123ABCD-4567-89EF-FEDC-BA9876543210");
  GUID copy = known;
  EXPECT_TRUE(copy == known);
  copy.Data4[7] = 0;
  EXPECT_FALSE(copy == known);
}

TEST(ProfilerProcessFacts, ProcessAndMachine) {
  std::string path = ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  std::string name = ExecutableFileName();
  EXPECT_EQ(path.substr(path.size() - name.size()), name);
  std::string lower = ProcessBaseName();
  EXPECT_EQ(lower.size(), name.size());
  for (char c : lower) EXPECT_FALSE(c >= 'A' && c <= 'Z');

  EXPECT_FALSE(OsUserName().empty());
  EXPECT_FALSE(KernelRelease().empty());

  uint32_t mine = CurrentThreadId();
  uint32_t other = 0;
  std::thread([&] { other = CurrentThreadId(); }).join();
  EXPECT_NE(mine, 0u);
  EXPECT_NE(mine, other);

  EXPECT_GT(ProcessPrivateMemory(), 0);
  PhysicalMemory machine = MachinePhysicalMemory();
  EXPECT_GT(machine.total, 0);
  EXPECT_GT(machine.available, 0);
  EXPECT_LE(machine.available, machine.total);
}

}  // namespace
}  // namespace qx
