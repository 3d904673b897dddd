// The Windows exception code of a fault signal, kept apart from the handler so that every
// case can be checked without raising it.
#pragma once

#include <cstdint>

namespace qx {

// Where a thread's stack ends: its lowest usable address (0 when unknown) and the size of
// the guard region below it.
struct StackBounds {
  uintptr_t lowest;
  uintptr_t guardSize;
};

// The exception code of the fault signal `signal` with its detail code (siginfo si_code) at
// the faulting address, on a thread with the given stack.
uint32_t FaultExceptionCode(int signal, int code, uintptr_t faultAddress, const StackBounds& stack);

}  // namespace qx
