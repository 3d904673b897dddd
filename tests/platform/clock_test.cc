#include "platform/clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <ctime>

#include "platform/registry.h"
#include "test_support.h"

namespace qx {
namespace {

SYSTEMTIME Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  auto u = [](int v) { return static_cast<uint16_t>(v); };
  return {u(y), u(mo), 0, u(d), u(h), u(mi), u(s), u(ms)};
}

uint64_t ToU64(const SYSTEMTIME& st) {
  FILETIME ft{};
  EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
  return FileTimeToU64(ft);
}

TEST(Clock, FileTimesAndSystemTimesConvertAndTheTickCountCanBeReplaced) {
  EXPECT_EQ(ToU64(Make(1601, 1, 1)), 0u);
  EXPECT_EQ(ToU64(Make(1970, 1, 1)), 116444736000000000u);
  EXPECT_EQ(ToU64(Make(2024, 2, 29, 23, 59, 59, 999)) - ToU64(Make(2024, 2, 29)),
            (86400ull * 1000 - 1) * 10000);
  SYSTEMTIME st{};
  FILETIME ft;
  for (uint64_t value : {0ull, 133500000123456789ull, 0x7FFFFFFFFFFFFFFFull}) {
    ft = U64ToFileTime(value);
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st)) << value;
    EXPECT_EQ(ToU64(st), value - value % 10000) << value;
  }
  ft = U64ToFileTime(ToU64(Make(2024, 3, 1)));
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
  EXPECT_EQ(st.wDayOfWeek, 5) << "2024-03-01 was a Friday";
  ft = U64ToFileTime(0x8000000000000000ull);
  EXPECT_FALSE(FileTimeToSystemTime(&ft, &st));
  for (SYSTEMTIME bad :
       {Make(2023, 2, 29), Make(2024, 13, 1), Make(2024, 0, 1), Make(2024, 4, 31),
        Make(1600, 12, 31), Make(2024, 1, 0), Make(2024, 1, 1, 24), Make(2024, 1, 1, 0, 60),
        Make(2024, 1, 1, 0, 0, 60), Make(2024, 1, 1, 0, 0, 0, 1000)}) {
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &ft))
        << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
  }

  // The system time agrees with the C library, and local times with localtime.
  FILETIME now, local, back;
  GetSystemTimeAsFileTime(&now);
  time_t seconds = time(nullptr);
  int64_t unixNow = static_cast<int64_t>(FileTimeToU64(now) / 10'000'000) - 11644473600;
  EXPECT_LE(std::llabs(unixNow - seconds), 2);
  ASSERT_TRUE(FileTimeToLocalFileTime(&now, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(FileTimeToU64(back), FileTimeToU64(now));
  struct tm tm {};
  localtime_r(&seconds, &tm);
  EXPECT_EQ(static_cast<int64_t>(FileTimeToU64(local) - FileTimeToU64(now)) / 10'000'000,
            tm.tm_gmtoff);

  // The tick count can be replaced for tests.
  uint64_t first = GetTickCount64();
  Sleep(0);
  Sleep(2);
  EXPECT_GE(GetTickCount64(), first + 2);
  std::atomic<uint64_t> fake{0xFFFFFFFFull + 5};
  SetTickSourceForTesting([&] { return fake.load(); });
  EXPECT_EQ(GetTickCount(), 4u) << "the 32-bit count wraps";
  fake += 60'000;
  EXPECT_EQ(GetTickCount64(), 0xFFFFFFFFull + 60'005);
  SetTickSourceForTesting(nullptr);
  EXPECT_LT(GetTickCount64(), 0xFFFFFFFFull + 5);
}

class CurrentDateTimeTest : public testing::Test {
 protected:
  void TearDown() override { ReloadDateTimeShiftForTesting(); }
  // Stores the shift setting; it shows from the next reload.
  static void SetShift(const std::string& value, bool reload = true) {
    ASSERT_EQ(RegSetString("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session "
                           "Manager\\Environment",
                           "QX_DATETIME", value),
              ERROR_SUCCESS);
    if (reload) ReloadDateTimeShiftForTesting();
  }
  // The current date and time is the local time (within a day, so that nothing depends on
  // how long the test takes).
  static void ExpectUnshifted(const std::string& setting) {
    SYSTEMTIME local, current = CurrentDateTime();
    GetLocalTime(&local);
    current.wMilliseconds = 0;
    EXPECT_LE(std::llabs(static_cast<int64_t>(ToU64(local) - ToU64(current))), 86400ll * 10'000'000)
        << setting;
  }

  test::TempDir dir_;
  test::ScopedEnv registry_{"QX_REGISTRY", dir_ / "m.reg"};
};

TEST_F(CurrentDateTimeTest, ShiftIsReadOnceAndBadSettingsLeaveTheTimeUnshifted) {
  ReloadDateTimeShiftForTesting();
  ExpectUnshifted("no registry file at all");
  SYSTEMTIME now;
  GetLocalTime(&now);
  char moment[64];
  snprintf(moment, sizeof moment, "%02u/%02u/%04u;%02u:%02u:%02u:%04u", now.wDay, now.wMonth,
           now.wYear, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  SetShift(std::string("1;01/01/2020;00:00:00:0000;") + moment);
  SYSTEMTIME current = CurrentDateTime();
  EXPECT_EQ(current.wYear * 10000 + current.wMonth * 100 + current.wDay, 20200101);
  EXPECT_EQ(current.wHour, 0);
  EXPECT_EQ(current.wDayOfWeek, 3) << "2020-01-01 was a Wednesday";
  SetShift(std::string("0;01/01/2020;00:00:00:0000;") + moment, false);
  EXPECT_EQ(CurrentDateTime().wYear, 2020) << "a change shows only after a reload";
  ReloadDateTimeShiftForTesting();
  ExpectUnshifted("switched off");

  testing::internal::CaptureStderr();
  for (const char* bad :
       {"1;01/01/2020;00:00:00", "garbage", "1;01/13/2020;00:00:00:0000;01/01/2024;00:00:00:0000",
        "1;99999/01/2020;00:00:00:0000;01/01/2024;00:00:00:0000"}) {
    SetShift(bad);
    ExpectUnshifted(bad);
  }
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "Helper_SystemTimeToFileTime: SystemTimeToFileTime"),
            std::string::npos);
}

}  // namespace
}  // namespace qx
