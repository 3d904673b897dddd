#pragma once
// The income statement (demonstração do resultado do exercício) of a period,
// from the chart's structure and the natures of its accounts: revenues,
// deductions, net revenue, costs, gross result, expenses and the result,
// each account with its movement in the period (and, when asked, in each
// month). Revenues show credits as positive, the others debits. Data only:
// reports/demonstracoes.h reads the movements, without the closing entries.

#include <cstdint>
#include <vector>

#include "reports/saldos.h"
#include "reports/secoes.h"
#include "values/qx_mes_ano.h"

namespace qx {

// Each line and total has one figure per month asked for, then the period's.
struct SecaoDre {
  std::vector<LinhaSecao> linhas;
  std::vector<Total> total;
};

struct Dre {
  std::vector<CQXMesAno> meses;  // empty: only the period's figures
  SecaoDre receitas;
  SecaoDre deducoes;
  std::vector<Total> receitaLiquida;  // revenues less deductions
  SecaoDre custos;
  std::vector<Total> resultadoBruto;  // net revenue less costs
  SecaoDre despesas;
  std::vector<Total> resultado;  // gross result less expenses

  bool Estourou() const;
};

// `movimentos`: the movement of each month of `meses`, or of the whole
// period when `meses` is empty.
Dre DreDosMovimentos(const PlanoDeContas& plano, const std::vector<CQXMesAno>& meses,
                     const std::vector<Saldos>& movimentos, uint16_t nivel);

}  // namespace qx
