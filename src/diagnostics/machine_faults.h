// Machine faults (the Windows structured-exception codes) and their HRESULTs,
// and the codes after which the business object is no longer trusted.
#pragma once

#include <cstdint>

#include "platform/com_types.h"
#include "platform/exception_codes.h"

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
