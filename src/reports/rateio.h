#pragma once
// The managerial split of stored entries as the reports read it: each line's
// cost centre, accounting account, amount and quantity.

#include <cstdint>
#include <vector>

#include "reports/leitura.h"

namespace qx {

struct LinhaRateio {
  int32_t contaGerencial = 0;
  int32_t contaContabil = 0;
  CURRENCY valor{};
  CURRENCY quantidade{};  // 0 where the company keeps no quantities
};
using Rateio = std::vector<LinhaRateio>;

// The split of each live entry given (empty for one without), in the order
// given, from the split lines of their months read in bulk.
std::vector<Rateio> LeRateios(SessaoLancamento& servico,
                              const std::vector<LancamentoLido>& lancamentos);

}  // namespace qx
