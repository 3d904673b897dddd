// The system's current date and time, shifted by the machine's "QX_DATETIME"
// setting: "switch;d/m/y;h:m:s:ms;d/m/y;h:m:s:ms". With a non-zero switch the
// moment T2 (the second date) reads as T1 (the first): current = local - T2 + T1.
#include <cstdio>
#include <mutex>
#include <optional>

#include "platform/clock.h"
#include "platform/registry.h"

namespace {

constexpr char kKey[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr char kDefault[] = "0;00/00/0000;00:00:00:0000;00/00/0000;00:00:00:0000";
constexpr char kFormat[] = "%u;%u/%u/%u;%u:%u:%u:%u;%u/%u/%u;%u:%u:%u:%u";

std::mutex g_mutex;
std::optional<int64_t> g_shift;  // 100 ns units to add; empty until read
bool g_loaded = false;

// A moment read as day, month, year, hour, minute, second, millisecond.
bool MomentToFileTime(const unsigned* f, uint64_t* out) {
  for (int i = 0; i < 7; ++i) {
    if (f[i] > 0xFFFF) return false;
  }
  SYSTEMTIME st{
      static_cast<uint16_t>(f[2]), static_cast<uint16_t>(f[1]), 0,
      static_cast<uint16_t>(f[0]), static_cast<uint16_t>(f[3]), static_cast<uint16_t>(f[4]),
      static_cast<uint16_t>(f[5]), static_cast<uint16_t>(f[6])};
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft)) return false;
  *out = qx::FileTimeToU64(ft);
  return true;
}

std::optional<int64_t> ReadShift() {
  std::string text;
  if (RegGetString(kKey, "QX_DATETIME", &text) != ERROR_SUCCESS) text = kDefault;
  unsigned f[15];
  int read = std::sscanf(text.c_str(), kFormat, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6],
                         &f[7], &f[8], &f[9], &f[10], &f[11], &f[12], &f[13], &f[14]);
  if (read != 15 || f[0] == 0) return std::nullopt;
  uint64_t t1, t2;
  if (!MomentToFileTime(&f[1], &t1) || !MomentToFileTime(&f[8], &t2)) {
    // The clock keeps running unshifted rather than failing every caller.
    std::fprintf(stderr, "Helper_SystemTimeToFileTime: SystemTimeToFileTime (QX_DATETIME \"%s\")\n",
                 text.c_str());
    return std::nullopt;
  }
  return static_cast<int64_t>(t1 - t2);
}

std::optional<int64_t> Shift() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_loaded) {
    g_shift = ReadShift();
    g_loaded = true;
  }
  return g_shift;
}

}  // namespace

namespace qx {

SYSTEMTIME CurrentDateTime() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  if (!FileTimeToLocalFileTime(&utc, &local)) local = utc;
  SYSTEMTIME st;
  if (std::optional<int64_t> shift = Shift()) {
    uint64_t now = FileTimeToU64(local);
    FILETIME shifted = U64ToFileTime(now + static_cast<uint64_t>(*shift));
    bool fits = *shift >= 0 || now >= static_cast<uint64_t>(-*shift);
    if (fits && FileTimeToSystemTime(&shifted, &st)) return st;
    static std::once_flag reported;
    std::call_once(
        reported, [] { std::fprintf(stderr, "GetCurrentTime_LocalTime: FileTimeToSystemTime\n"); });
  }
  FileTimeToSystemTime(&local, &st);
  return st;
}

void ReloadDateTimeShiftForTesting() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_loaded = false;
}

}  // namespace qx
