#pragma once
// The entries a report reads: every live entry of a period, month by month,
// read in bulk through the batch interface.

#include <cstdint>
#include <functional>

#include "reports/leitura.h"
#include "values/qx_data.h"

namespace qx {

using Visita = std::function<void(const LancamentoLido&)>;

// Every live entry of the user's active branches (of branch `filial` only,
// when not 0) dated from `de` to `ate`, month by month in position order;
// complement texts only when asked for. A failure throws FalhaServico.
void PercorreLancamentos(SessaoLancamento& servico, CQXData de, CQXData ate, uint16_t filial,
                         bool complementos, const Visita& visita);

}  // namespace qx
