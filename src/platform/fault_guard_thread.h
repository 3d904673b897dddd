// What a thread needs before it can open a fault guard.
#pragma once

#include "platform/fault_guard_codes.h"

namespace qx {

// Gives the calling thread an alternate signal stack of its own, so that the fault handler
// can run even when the thread's stack is exhausted, and reads the bounds of the thread's
// stack. Call once per thread; the signal stack that was in place before is put back when
// the thread ends.
StackBounds PrepareThreadForGuards();

}  // namespace qx
