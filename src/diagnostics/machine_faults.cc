#include "diagnostics/machine_faults.h"

#include <algorithm>
#include <iterator>

namespace qx {
namespace {

// In the order of their codes: the i-th fault maps to kHrPrimeiraFalha + i.
constexpr uint32_t kFaults[] = {
    EXCEPTION_ACCESS_VIOLATION,
    EXCEPTION_ARRAY_BOUNDS_EXCEEDED,
    EXCEPTION_BREAKPOINT,
    EXCEPTION_DATATYPE_MISALIGNMENT,
    EXCEPTION_FLT_DENORMAL_OPERAND,
    EXCEPTION_FLT_DIVIDE_BY_ZERO,
    EXCEPTION_FLT_INEXACT_RESULT,
    EXCEPTION_FLT_INVALID_OPERATION,
    EXCEPTION_FLT_OVERFLOW,
    EXCEPTION_FLT_STACK_CHECK,
    EXCEPTION_FLT_UNDERFLOW,
    EXCEPTION_GUARD_PAGE,
    EXCEPTION_ILLEGAL_INSTRUCTION,
    EXCEPTION_IN_PAGE_ERROR,
    EXCEPTION_INT_DIVIDE_BY_ZERO,
    EXCEPTION_INT_OVERFLOW,
    EXCEPTION_INVALID_DISPOSITION,
    EXCEPTION_INVALID_HANDLE,
    EXCEPTION_NONCONTINUABLE_EXCEPTION,
    EXCEPTION_PRIV_INSTRUCTION,
    EXCEPTION_SINGLE_STEP,
    EXCEPTION_STACK_OVERFLOW,
    0x80000029u,  // mapped, but not handled by the guard
};
constexpr size_t kHandledFaults = 22;
static_assert(std::size(kFaults) == kHandledFaults + 1);
static_assert(kHrPrimeiraFalha + static_cast<HRESULT>(kHandledFaults) == kHrUltimaFalha);

size_t FaultIndex(uint32_t faultCode) {
  return std::find(std::begin(kFaults), std::end(kFaults), faultCode) - std::begin(kFaults);
}

}  // namespace

HRESULT HresultFromMachineFault(uint32_t faultCode) {
  const size_t index = FaultIndex(faultCode);
  if (index == std::size(kFaults)) return kHrFalhaDesconhecida;
  return kHrPrimeiraFalha + static_cast<HRESULT>(index);
}

bool MachineFaultHandled(uint32_t faultCode) { return FaultIndex(faultCode) < kHandledFaults; }

}  // namespace qx

bool QXIsFatalHresult(HRESULT hr) {
  return (hr >= qx::kHrPrimeiraFalha && hr <= qx::kHrUltimaFalha) || hr == qx::kHrFalhaDesconhecida;
}
