#include "platform/fault_guard_codes.h"

#include <signal.h>

#include "platform/exception_codes.h"

namespace qx {
namespace {

// How far below the lowest stack page the first touch of a new frame may land: a function
// with a large frame moves the stack pointer down by its whole size before it writes.
constexpr uintptr_t kProbeReach = 64 * 1024;

// A fault in the guard region below the stack, or just past it, is the stack running out.
bool IsStackOverflow(uintptr_t address, const StackBounds& stack) {
  if (stack.lowest == 0) return false;
  uintptr_t reach = stack.guardSize + kProbeReach;
  uintptr_t from = stack.lowest > reach ? stack.lowest - reach : 0;
  return address >= from && address < stack.lowest + stack.guardSize;
}

uint32_t FloatingPointCode(int code) {
  switch (code) {
    case FPE_INTDIV:
      return EXCEPTION_INT_DIVIDE_BY_ZERO;
    case FPE_INTOVF:
      return EXCEPTION_INT_OVERFLOW;
    case FPE_FLTDIV:
      return EXCEPTION_FLT_DIVIDE_BY_ZERO;
    case FPE_FLTOVF:
      return EXCEPTION_FLT_OVERFLOW;
    case FPE_FLTUND:
      return EXCEPTION_FLT_UNDERFLOW;
    case FPE_FLTRES:
      return EXCEPTION_FLT_INEXACT_RESULT;
    case FPE_FLTSUB:
      return EXCEPTION_ARRAY_BOUNDS_EXCEEDED;
    default:  // FPE_FLTINV and detail codes that name no particular condition
      return EXCEPTION_FLT_INVALID_OPERATION;
  }
}

}  // namespace

uint32_t FaultExceptionCode(int signal, int code, uintptr_t faultAddress,
                            const StackBounds& stack) {
  switch (signal) {
    case SIGFPE:
      return FloatingPointCode(code);
    case SIGILL:
      return code == ILL_PRVOPC || code == ILL_PRVREG ? EXCEPTION_PRIV_INSTRUCTION : EXCEPTION_ILLEGAL_INSTRUCTION;
    case SIGTRAP:
      return code == TRAP_TRACE ? EXCEPTION_SINGLE_STEP : EXCEPTION_BREAKPOINT;
    case SIGBUS:
      if (code == BUS_ADRALN) return EXCEPTION_DATATYPE_MISALIGNMENT;
      [[fallthrough]];
    default:  // SIGSEGV, and SIGBUS on a mapping that has no page behind it
      return IsStackOverflow(faultAddress, stack) ? EXCEPTION_STACK_OVERFLOW : EXCEPTION_ACCESS_VIOLATION;
  }
}

}  // namespace qx
