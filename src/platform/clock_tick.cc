// The millisecond tick count and Sleep.
#include <sched.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>

#include "platform/clock.h"

namespace {

std::mutex g_mutex;
std::shared_ptr<std::function<uint64_t()>> g_source;  // set only by tests
// Lets the common case (no test source) skip the mutex: the tick count is
// read on every server call.
std::atomic<bool> g_hasSource{false};

uint64_t MachineTicks() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1'000'000;
}

}  // namespace

uint64_t GetTickCount64() {
  if (!g_hasSource.load(std::memory_order_acquire)) return MachineTicks();
  std::shared_ptr<std::function<uint64_t()>> source;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    source = g_source;
  }
  return source ? (*source)() : MachineTicks();
}

uint32_t GetTickCount() { return static_cast<uint32_t>(GetTickCount64()); }

void Sleep(uint32_t milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  timespec left{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1'000'000};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

namespace qx {

void SetTickSourceForTesting(std::function<uint64_t()> source) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_source = source ? std::make_shared<std::function<uint64_t()>>(std::move(source)) : nullptr;
  g_hasSource.store(g_source != nullptr, std::memory_order_release);
}

}  // namespace qx
