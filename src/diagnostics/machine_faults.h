// Machine faults (the Windows structured-exception codes) and their HRESULTs,
// and the codes after which the business object is no longer trusted.
#pragma once

#include <cstdint>

#include "platform/com_types.h"

inline constexpr uint32_t EXCEPTION_GUARD_PAGE = 0x80000001u;
inline constexpr uint32_t EXCEPTION_DATATYPE_MISALIGNMENT = 0x80000002u;
inline constexpr uint32_t EXCEPTION_BREAKPOINT = 0x80000003u;
inline constexpr uint32_t EXCEPTION_SINGLE_STEP = 0x80000004u;
inline constexpr uint32_t EXCEPTION_ACCESS_VIOLATION = 0xC0000005u;
inline constexpr uint32_t EXCEPTION_IN_PAGE_ERROR = 0xC0000006u;
inline constexpr uint32_t EXCEPTION_INVALID_HANDLE = 0xC0000008u;
inline constexpr uint32_t EXCEPTION_ILLEGAL_INSTRUCTION = 0xC000001Du;
inline constexpr uint32_t EXCEPTION_NONCONTINUABLE_EXCEPTION = 0xC0000025u;
inline constexpr uint32_t EXCEPTION_INVALID_DISPOSITION = 0xC0000026u;
inline constexpr uint32_t EXCEPTION_ARRAY_BOUNDS_EXCEEDED = 0xC000008Cu;
inline constexpr uint32_t EXCEPTION_FLT_DENORMAL_OPERAND = 0xC000008Du;
inline constexpr uint32_t EXCEPTION_FLT_DIVIDE_BY_ZERO = 0xC000008Eu;
inline constexpr uint32_t EXCEPTION_FLT_INEXACT_RESULT = 0xC000008Fu;
inline constexpr uint32_t EXCEPTION_FLT_INVALID_OPERATION = 0xC0000090u;
inline constexpr uint32_t EXCEPTION_FLT_OVERFLOW = 0xC0000091u;
inline constexpr uint32_t EXCEPTION_FLT_STACK_CHECK = 0xC0000092u;
inline constexpr uint32_t EXCEPTION_FLT_UNDERFLOW = 0xC0000093u;
inline constexpr uint32_t EXCEPTION_INT_DIVIDE_BY_ZERO = 0xC0000094u;
inline constexpr uint32_t EXCEPTION_INT_OVERFLOW = 0xC0000095u;
inline constexpr uint32_t EXCEPTION_PRIV_INSTRUCTION = 0xC0000096u;
inline constexpr uint32_t EXCEPTION_STACK_OVERFLOW = 0xC00000FDu;

namespace qx {

// The first and last codes of mapped faults, and the code of any other fault.
inline constexpr HRESULT kHrPrimeiraFalha = static_cast<HRESULT>(0x8004EAC5u);
inline constexpr HRESULT kHrUltimaFalha = static_cast<HRESULT>(0x8004EADBu);
inline constexpr HRESULT kHrFalhaDesconhecida = static_cast<HRESULT>(0x8004EE47u);

// The HRESULT of a fault code: the 22 faults above and 0x80000029 have codes of
// their own, anything else kHrFalhaDesconhecida.
HRESULT HresultFromMachineFault(uint32_t faultCode);

// Whether the fault guard handles a fault: exactly the 22 faults above.
bool MachineFaultHandled(uint32_t faultCode);

}  // namespace qx

// True for the codes of the fault mapping: after one of them the frame
// destroys the business object.
bool QXIsFatalHresult(HRESULT hr);
