// Time as the system knows it: Windows-like system times and file times, the
// millisecond tick count, Sleep, and the system's current date and time
// (local time, optionally shifted by the machine's "QX_DATETIME" setting).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

struct SYSTEMTIME {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;  // 0 = Sunday
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);
static_assert(offsetof(SYSTEMTIME, wYear) == 0);
static_assert(offsetof(SYSTEMTIME, wMonth) == 2);
static_assert(offsetof(SYSTEMTIME, wDayOfWeek) == 4);
static_assert(offsetof(SYSTEMTIME, wDay) == 6);
static_assert(offsetof(SYSTEMTIME, wHour) == 8);
static_assert(offsetof(SYSTEMTIME, wMinute) == 10);
static_assert(offsetof(SYSTEMTIME, wSecond) == 12);
static_assert(offsetof(SYSTEMTIME, wMilliseconds) == 14);

// 100 ns units since 1601-01-01 00:00 UTC (or local, for a local file time).
struct FILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};
static_assert(sizeof(FILETIME) == 8);
static_assert(offsetof(FILETIME, dwLowDateTime) == 0);
static_assert(offsetof(FILETIME, dwHighDateTime) == 4);

void GetSystemTimeAsFileTime(FILETIME* ft);
void GetSystemTime(SYSTEMTIME* st);  // UTC
void GetLocalTime(SYSTEMTIME* st);   // the machine's local time, unshifted
// Fail (false) on a value with the top bit set (after 30828-09-14).
bool FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st);
// Fail (false) on a field out of range or a time after 30828-09-14;
// wDayOfWeek is ignored.
bool SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft);
bool FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
bool LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc);

// Milliseconds since an arbitrary start, monotonic; the 32-bit count wraps
// after 49.7 days.
uint32_t GetTickCount();
uint64_t GetTickCount64();
// Sleep(0) gives up the rest of the time slice.
void Sleep(uint32_t milliseconds);

namespace qx {

uint64_t FileTimeToU64(const FILETIME& ft);
FILETIME U64ToFileTime(uint64_t value);

// The system's current date and time: the local time, shifted when the
// machine's "QX_DATETIME" setting asks for it (read once per process).
SYSTEMTIME CurrentDateTime();

// Tests: forget the "QX_DATETIME" setting so the next call reads it again.
void ReloadDateTimeShiftForTesting();
// Tests: replace the tick count process-wide (an empty function restores it).
void SetTickSourceForTesting(std::function<uint64_t()> source);

}  // namespace qx
