// An auto-reset event as Windows has it: Set() wakes one waiter, or the next
// one to wait when nobody waits; each successful wait consumes the signal.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace qx {

class AutoResetEvent {
 public:
  void Set();
  // Waits until signalled.
  void Wait();
  // True when signalled within `milliseconds`, false when the time passed.
  bool WaitFor(uint32_t milliseconds);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

}  // namespace qx
