#pragma once
// The trial balance: per account of the chart, the balance before the period,
// the debits and credits of the period (or its movement month by month) and
// the balance at its end. Balances are debits minus credits, so a debit
// balance is positive. A total account sums its own entries and those of
// every account at or below its level; accounts the chart does not have come
// last.

#include <cstdint>
#include <vector>

#include "reports/periodo.h"
#include "reports/plano.h"
#include "reports/sessao.h"
#include "values/total.h"

namespace qx {

struct PedidoBalancete {
  Periodo periodo;
  uint16_t nivel = 0;    // the deepest level shown; 0 for all
  bool porMes = false;   // the movement of each month
  bool zeradas = false;  // the accounts without balance nor movement too
};

struct Figuras {
  Total anterior;
  Total debitos;
  Total creditos;
  std::vector<Total> meses;  // debits minus credits of each month, when asked for

  Total Final() const;
  void Soma(const Figuras& outras);
  bool Zeradas() const;
  bool Estourou() const;
};

struct LinhaBalancete {
  Conta conta;
  Figuras figuras;
};

struct Balancete {
  std::vector<CQXMesAno> meses;        // the months of the period, when asked for
  std::vector<LinhaBalancete> linhas;  // in the order of the chart
  Total debitos;                       // of the period, over every account
  Total creditos;
  // The entries of the period with one account only: debit-only amounts
  // minus credit-only ones; what keeps debits from equalling credits.
  Total diferenca;

  bool Estourou() const;
};

Balancete MontaBalancete(SessaoLancamento& servico, const PlanoDeContas& plano,
                         const PedidoBalancete& pedido);

}  // namespace qx
