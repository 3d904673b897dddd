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
    seen.insert(GuidToText(guid));
    EXPECT_THAT(GuidToText(guid), ::testing::MatchesRegex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-"
                                                          "[89AB][0-9A-F]{3}-[0-9A-F]{12}"));
  }
  EXPECT_EQ(seen.size(), 100u);
  // The Windows layout: Data1 to Data3 as numbers, Data4 byte by byte.
  GUID known{0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
  EXPECT_EQ(GuidToText(known), "0123ABCD-4567-89EF-FEDC-BA9876543210");
}

TEST(ProfilerProcessFacts, ProcessAndMachine) {
  const std::string path = ExecutablePath(), name = ExecutableFileName();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.substr(path.size() - name.size()), name);
  const std::string lower = ProcessBaseName();
  EXPECT_EQ(lower.size(), name.size());
  EXPECT_EQ(lower.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << lower;
  EXPECT_FALSE(OsUserName().empty());
  EXPECT_FALSE(KernelRelease().empty());

  uint32_t other = 0;
  std::thread([&] { other = CurrentThreadId(); }).join();
  EXPECT_NE(CurrentThreadId(), 0u);
  EXPECT_NE(CurrentThreadId(), other);

  EXPECT_GT(ProcessPrivateMemory(), 0);
  const PhysicalMemory machine = MachinePhysicalMemory();
  EXPECT_GT(machine.available, 0);
  EXPECT_LE(machine.available, machine.total);
}

}  // namespace
}  // namespace qx
