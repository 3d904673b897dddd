#include "platform/auto_reset_event.h"

#include <chrono>

namespace qx {

void AutoResetEvent::Set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  changed_.notify_one();
}

void AutoResetEvent::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return signalled_; });
  signalled_ = false;
}

bool AutoResetEvent::WaitFor(uint32_t milliseconds) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                         [this] { return signalled_; })) {
    return false;
  }
  signalled_ = false;
  return true;
}

}  // namespace qx
