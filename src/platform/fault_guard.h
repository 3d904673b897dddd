// The machine-fault guard: runs a call so that a machine fault inside it (an access
// violation, an integer division by zero, a stack overflow, an illegal instruction, a
// breakpoint, ...) ends the call instead of the process, and names the fault with its
// Windows exception code (0xC0000005 access violation, 0xC0000094 integer divide by zero,
// 0xC00000FD stack overflow, 0xC000001D illegal instruction, 0x80000003 breakpoint, ...).
//
// Guards are per thread and nest: a fault ends the innermost open guard of the faulting
// thread and no other. Outside a guard a fault takes the course it had before (the default
// action ends the process). After a fault the thread goes on normally, with the signal mask
// and the floating-point environment it had when the guard opened; but the frames that the
// fault cut short were left without running their destructors, so what they held (memory,
// locks) is lost: a caller must treat the objects the call was working on as damaged.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// The guard around a plain function: body(context).
bool RunGuardedCall(void (*body)(void*), void* context, uint32_t* exceptionCode);

}  // namespace qx

// Runs body() under the calling thread's guard. True when body returned normally (an
// exception that it throws passes through unchanged); false when a machine fault ended it,
// with *exceptionCode (when not null) set to the fault's Windows exception code.
template <typename Body>
bool QXRunGuarded(Body&& body, uint32_t* exceptionCode) {
  auto call = [&body] { body(); };
  using Call = decltype(call);
  return qx::RunGuardedCall([](void* context) { (*static_cast<Call*>(context))(); }, &call,
                            exceptionCode);
}

// The call-stack text of the last fault caught on this thread (empty before any): one line
// per frame, innermost first, starting at the faulting function; each line is the frame's
// function name (demangled), or "module+0xoffset" when the module names none. The walk stops
// after a frame named "main" or "RaiseException".
std::string QXLastFaultStackText();
