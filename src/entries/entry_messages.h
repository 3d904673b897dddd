// Message results of the entry operations: facility 4 with the message number
// in the low word.
#pragma once

#include "platform/com_types.h"

namespace qx {

// The entry asked for is deleted, as a failure (the form the data reads give).
inline constexpr HRESULT kHrLancamentoExcluido = static_cast<HRESULT>(0x800405F7u);

}  // namespace qx
