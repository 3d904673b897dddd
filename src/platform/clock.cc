// System times, file times and their conversions.
#include "platform/clock.h"

#include <time.h>

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kTicksPerDay = kTicksPerSecond * 86400;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDays = 134774;
// The last file time that converts (30828-09-14 02:48:05.477).
constexpr uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFULL;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

unsigned DaysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Seconds east of UTC in force at the given UTC second.
int64_t LocalOffsetSeconds(int64_t unix_seconds) {
  time_t t = static_cast<time_t>(unix_seconds);
  struct tm local {};
  return localtime_r(&t, &local) != nullptr ? local.tm_gmtoff : 0;
}

int64_t UnixSeconds(uint64_t file_time) {
  return static_cast<int64_t>(file_time / kTicksPerSecond) - kEpochDays * 86400;
}

bool AddSeconds(uint64_t value, int64_t seconds, uint64_t* out) {
  int64_t ticks = seconds * static_cast<int64_t>(kTicksPerSecond);
  if (ticks < 0 && value < static_cast<uint64_t>(-ticks)) return false;
  *out = value + static_cast<uint64_t>(ticks);
  return *out <= kMaxFileTime;
}

}  // namespace

namespace qx {

uint64_t FileTimeToU64(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME U64ToFileTime(uint64_t value) {
  return {static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
}

}  // namespace qx

void GetSystemTimeAsFileTime(FILETIME* ft) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  uint64_t days_ticks = static_cast<uint64_t>(kEpochDays) * kTicksPerDay;
  *ft = qx::U64ToFileTime(days_ticks + static_cast<uint64_t>(now.tv_sec) * kTicksPerSecond +
                          static_cast<uint64_t>(now.tv_nsec) / 100);
}

void GetSystemTime(SYSTEMTIME* st) {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  FileTimeToSystemTime(&ft, st);
}

void GetLocalTime(SYSTEMTIME* st) {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  if (!FileTimeToLocalFileTime(&utc, &local)) local = utc;
  FileTimeToSystemTime(&local, st);
}

bool FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
  uint64_t value = qx::FileTimeToU64(*ft);
  if (value > kMaxFileTime) return false;
  int64_t days = static_cast<int64_t>(value / kTicksPerDay);
  uint64_t in_day = value % kTicksPerDay;
  int64_t year;
  unsigned month, day;
  CivilFromDays(days - kEpochDays, &year, &month, &day);
  st->wYear = static_cast<uint16_t>(year);
  st->wMonth = static_cast<uint16_t>(month);
  st->wDay = static_cast<uint16_t>(day);
  st->wDayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
  st->wHour = static_cast<uint16_t>(in_day / (3600 * kTicksPerSecond));
  st->wMinute = static_cast<uint16_t>(in_day / (60 * kTicksPerSecond) % 60);
  st->wSecond = static_cast<uint16_t>(in_day / kTicksPerSecond % 60);
  st->wMilliseconds = static_cast<uint16_t>(in_day / 10'000 % 1000);
  return true;
}

bool SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft) {
  if (st->wYear < 1601 || st->wYear > 30828 || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 ||
      st->wDay > DaysInMonth(st->wYear, st->wMonth) || st->wHour > 23 || st->wMinute > 59 ||
      st->wSecond > 59 || st->wMilliseconds > 999) {
    return false;
  }
  uint64_t days =
      static_cast<uint64_t>(DaysFromCivil(st->wYear, st->wMonth, st->wDay) + kEpochDays);
  uint64_t seconds = st->wHour * 3600ULL + st->wMinute * 60ULL + st->wSecond;
  uint64_t value = days * kTicksPerDay + seconds * kTicksPerSecond + st->wMilliseconds * 10'000ULL;
  if (value > kMaxFileTime) return false;
  *ft = qx::U64ToFileTime(value);
  return true;
}

bool FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local) {
  uint64_t value = qx::FileTimeToU64(*utc), out;
  if (!AddSeconds(value, LocalOffsetSeconds(UnixSeconds(value)), &out)) return false;
  *local = qx::U64ToFileTime(out);
  return true;
}

bool LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc) {
  uint64_t value = qx::FileTimeToU64(*local), guess;
  // The offset in force at the local moment: one correction step settles it
  // except within a change of offset, where either reading is acceptable.
  if (!AddSeconds(value, -LocalOffsetSeconds(UnixSeconds(value)), &guess) ||
      !AddSeconds(value, -LocalOffsetSeconds(UnixSeconds(guess)), &guess)) {
    return false;
  }
  *utc = qx::U64ToFileTime(guess);
  return true;
}
