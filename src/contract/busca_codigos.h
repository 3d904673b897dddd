// Message results of the searches and listings: facility 4 with the message
// number in the low word.
#pragma once

#include "platform/com_types.h"

namespace qx {

// GetEmpresas without a company list kept by GetQuantidadeEmpresas.
inline constexpr HRESULT kHrSemListaEmpresas = static_cast<HRESULT>(0x800405EEu);
// The month holds more records than the caller's array has room for.
inline constexpr HRESULT kHrMaisRegistrosQueEspaco = static_cast<HRESULT>(0x000405F1u);
// A search whose months lie further from its base month than the month
// offset of its keys reaches (message 1530).
inline constexpr HRESULT kHrPeriodoBuscaLongo = static_cast<HRESULT>(0x800405FAu);

}  // namespace qx
