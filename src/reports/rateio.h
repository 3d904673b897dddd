#pragma once
// The managerial split of stored entries as the reports read it: each line's
// cost centre, accounting account, amount and quantity.

#include <cstdint>
#include <vector>

#include "reports/sessao.h"
#include "values/qx_mes_ano.h"

namespace qx {

struct LinhaRateio {
  int32_t contaGerencial = 0;
  int32_t contaContabil = 0;
  CURRENCY valor{};
  CURRENCY quantidade{};  // 0 where the company keeps no quantities
};
using Rateio = std::vector<LinhaRateio>;

struct PosicaoLancamento {
  CQXMesAno mes;
  int32_t posicao = 0;
};

// The split of each live entry given (empty for one without), in the order
// given, with the quantities when the company keeps them (DadosEmpresa); the
// entries of a month are best given together.
std::vector<Rateio> LeRateios(SessaoLancamento& servico,
                              const std::vector<PosicaoLancamento>& lancamentos, bool quantidades);

}  // namespace qx
