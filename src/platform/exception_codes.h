// The Windows structured-exception codes of machine faults: what the fault
// guard reports for a caught signal and what the error model maps to HRESULTs.
#pragma once

#include <cstdint>

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
