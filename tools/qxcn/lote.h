#pragma once
// The entries of an import batch, as the entry search finds them.

#include <cstdint>

#include "servico.h"
#include "values/qx_data.h"

namespace qxcn {

// Sets the filter to the live entries of import batch `lote` and counts them
// between two dates; BuscaLancamentos then hands out their keys.
int32_t ContaLote(Servico& servico, uint32_t lote, CQXData de, CQXData ate);

}  // namespace qxcn
