// HRESULTs of the runtime library's errno values (facility 4).
#pragma once

#include "platform/com_types.h"

namespace qx {

// The runtime's code for a truncated string copy.
inline constexpr int STRUNCATE = 80;

inline constexpr HRESULT kHrPrimeiroErrno = static_cast<HRESULT>(0x8004EADCu);  // EPERM
inline constexpr HRESULT kHrErrnoDesconhecido = static_cast<HRESULT>(0x8004EA60u);

// The code of an errno value numbered as the runtime library numbers them
// (EPERM 1 ... ERANGE 34, EDEADLK 36, ENAMETOOLONG 38 ... EILSEQ 42,
// STRUNCATE 80): consecutive codes from kHrPrimeiroErrno in ascending order,
// kHrErrnoDesconhecido for any other value.
HRESULT HresultFromRuntimeErrno(int runtimeErrno);

// The runtime library's number for an errno value of this platform, 0 when
// the runtime has none.
int RuntimeErrnoFromPlatform(int platformErrno);

// The code of the calling thread's current errno.
HRESULT HresultFromCurrentErrno();

}  // namespace qx
