// The HRESULT of the exception being handled.
#pragma once

#include "platform/com_types.h"

namespace qx {

inline constexpr HRESULT kHrQXExceptionSemErro = static_cast<HRESULT>(0x8004EA61u);
inline constexpr HRESULT kHrCMemoryException = static_cast<HRESULT>(0x8004EA62u);
inline constexpr HRESULT kHrCException = static_cast<HRESULT>(0x8004EA63u);
inline constexpr HRESULT kHrBadAlloc = static_cast<HRESULT>(0x8004EA64u);
inline constexpr HRESULT kHrStdException = static_cast<HRESULT>(0x8004EA65u);
inline constexpr HRESULT kHrExcecaoDesconhecida = static_cast<HRESULT>(0x8004EA66u);
inline constexpr HRESULT kHrCInvalidArgException = static_cast<HRESULT>(0x8004EA67u);

}  // namespace qx

// Called inside a catch-all handler: rethrows the current exception and
// returns its code, matching in this order: _com_error (its HRESULT),
// CQXExceptionEx (its HRESULT), CQXException* (0x80040000 | its system error,
// or 0x8004EA61 without one), CFileException* (HRESULT_FROM_WIN32 of its
// Windows error), CMemoryException*, CInvalidArgException*, any other
// CException*, a 32-bit integer (its value), std::bad_alloc, any other
// std::exception, anything else. Exceptions thrown by pointer are released.
// Without a current exception the result is that of "anything else".
HRESULT QXTranslateThrownExceptionToHresult();
