#include "platform/fault_guard_thread.h"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>

namespace qx {
namespace {

// Room for the handler, the unwinder that walks the faulting stack, and what the sanitizers
// add to both.
constexpr size_t kSignalStackSize = 256 * 1024;

uintptr_t PageSize() { return static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)); }

// The thread's alternate signal stack, with an inaccessible page below it so that a handler
// that overruns it faults instead of writing over other memory.
class SignalStack {
 public:
  SignalStack() {
    void* mapping = mmap(nullptr, PageSize() + kSignalStackSize, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (mapping == MAP_FAILED) return;  // guards then work for everything but stack overflows
    mprotect(mapping, PageSize(), PROT_NONE);
    stack_t ours{};
    ours.ss_sp = static_cast<char*>(mapping) + PageSize();
    ours.ss_size = kSignalStackSize;
    if (sigaltstack(&ours, &previous_) != 0) {
      munmap(mapping, PageSize() + kSignalStackSize);
      return;
    }
    mapping_ = mapping;
    stack_ = ours.ss_sp;
  }
  SignalStack(const SignalStack&) = delete;
  SignalStack& operator=(const SignalStack&) = delete;

  // Puts the previous signal stack back (the sanitizer runtime, for one, frees its own when
  // the thread ends). If someone replaced ours meanwhile, ours stays mapped: they may still
  // hand it back.
  ~SignalStack() {
    stack_t current{};
    if (mapping_ == nullptr || sigaltstack(nullptr, &current) != 0 || current.ss_sp != stack_ ||
        sigaltstack(&previous_, nullptr) != 0) {
      return;
    }
    munmap(mapping_, PageSize() + kSignalStackSize);
  }

 private:
  void* mapping_ = nullptr;
  void* stack_ = nullptr;
  stack_t previous_{};
};

StackBounds CallingThreadStack() {
  StackBounds bounds{0, PageSize()};
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return bounds;
  void* lowest = nullptr;
  size_t size = 0;
  size_t guard = 0;
  if (pthread_attr_getstack(&attributes, &lowest, &size) == 0) {
    bounds.lowest = reinterpret_cast<uintptr_t>(lowest);
  }
  if (pthread_attr_getguardsize(&attributes, &guard) == 0) {
    bounds.guardSize = std::max<uintptr_t>(guard, bounds.guardSize);
  }
  pthread_attr_destroy(&attributes);
  return bounds;
}

}  // namespace

StackBounds PrepareThreadForGuards() {
  thread_local SignalStack signalStack;
  return CallingThreadStack();
}

}  // namespace qx
