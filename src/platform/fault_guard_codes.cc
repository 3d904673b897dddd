#include "platform/fault_guard_codes.h"

#include <signal.h>

namespace qx {
namespace {

constexpr uint32_t kAccessViolation = 0xC0000005u;
constexpr uint32_t kStackOverflow = 0xC00000FDu;
constexpr uint32_t kDatatypeMisalignment = 0x80000002u;
constexpr uint32_t kArrayBoundsExceeded = 0xC000008Cu;
constexpr uint32_t kFltDivideByZero = 0xC000008Eu;
constexpr uint32_t kFltInexactResult = 0xC000008Fu;
constexpr uint32_t kFltInvalidOperation = 0xC0000090u;
constexpr uint32_t kFltOverflow = 0xC0000091u;
constexpr uint32_t kFltUnderflow = 0xC0000093u;
constexpr uint32_t kIntDivideByZero = 0xC0000094u;
constexpr uint32_t kIntOverflow = 0xC0000095u;
constexpr uint32_t kIllegalInstruction = 0xC000001Du;
constexpr uint32_t kPrivInstruction = 0xC0000096u;
constexpr uint32_t kBreakpoint = 0x80000003u;
constexpr uint32_t kSingleStep = 0x80000004u;

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
      return kIntDivideByZero;
    case FPE_INTOVF:
      return kIntOverflow;
    case FPE_FLTDIV:
      return kFltDivideByZero;
    case FPE_FLTOVF:
      return kFltOverflow;
    case FPE_FLTUND:
      return kFltUnderflow;
    case FPE_FLTRES:
      return kFltInexactResult;
    case FPE_FLTSUB:
      return kArrayBoundsExceeded;
    default:  // FPE_FLTINV and detail codes that name no particular condition
      return kFltInvalidOperation;
  }
}

}  // namespace

uint32_t FaultExceptionCode(int signal, int code, uintptr_t faultAddress,
                            const StackBounds& stack) {
  switch (signal) {
    case SIGFPE:
      return FloatingPointCode(code);
    case SIGILL:
      return code == ILL_PRVOPC || code == ILL_PRVREG ? kPrivInstruction : kIllegalInstruction;
    case SIGTRAP:
      return code == TRAP_TRACE ? kSingleStep : kBreakpoint;
    case SIGBUS:
      if (code == BUS_ADRALN) return kDatatypeMisalignment;
      [[fallthrough]];
    default:  // SIGSEGV, and SIGBUS on a mapping that has no page behind it
      return IsStackOverflow(faultAddress, stack) ? kStackOverflow : kAccessViolation;
  }
}

}  // namespace qx
