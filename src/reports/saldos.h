#pragma once
// The balance of each account over a set of entries, summed as the entries
// come: debits minus credits, so that a debit balance is positive. Data only:
// the entries come from wherever the caller reads them (reports/leitura_saldos.h
// reads them from the service).

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "contract/iqxcn_lancamento.h"
#include "reports/plano.h"
#include "values/qx_data.h"
#include "values/total.h"

namespace qx {

// The entries from one day to another.
struct Intervalo {
  CQXData de;
  CQXData ate;
};

struct Saldos {
  std::unordered_map<int32_t, Total> contas;
  // The entries with one account only: debit-only amounts minus credit-only
  // ones. Every balance summed over all the accounts gives this.
  Total umLado;

  void Junta(const RegDados& dados);
  // The account's balance; 0 for one without entries.
  Total De(int32_t conta) const;
};

// The figure of each account of the chart, in the order of plano.Contas():
// its own balance, and for a total account the balances of every account at
// or below its level.
std::vector<Total> PeloPlano(const PlanoDeContas& plano, const Saldos& saldos);

}  // namespace qx
