#pragma once
// The entries a report reads: every live entry of a period, month by month,
// read in bulk through the batch interface; or those of a few accounts, found
// by the service's search and read by key.

#include <cstdint>
#include <functional>
#include <vector>

#include "reports/leitura.h"
#include "values/qx_data.h"

namespace qx {

using Visita = std::function<void(const LancamentoLido&)>;

// Every live entry of the user's active branches (of branch `filial` only,
// when not 0) dated from `de` to `ate`, month by month in position order;
// complement texts only when asked for. A failure throws FalhaServico.
void PercorreLancamentos(SessaoLancamento& servico, CQXData de, CQXData ate, uint16_t filial,
                         bool complementos, const Visita& visita);

// The same entries with one of `contas` to debit or credit, with their
// complements: one search of the service per account, each entry visited
// once. Each search reads every record of the period in the server, so this
// pays for few accounts, where most entries of the period are not theirs.
void PercorreLancamentosDasContas(SessaoLancamento& servico, const std::vector<int32_t>& contas,
                                  CQXData de, CQXData ate, uint16_t filial, const Visita& visita);

}  // namespace qx
