#pragma once
// Account statements and the ledger. A statement starts from the balance
// before the period and lists the entries of the period in date order, each
// with the balance it leaves (debits minus credits); the statement of a total
// account lists the entries of every account under it. The ledger is the
// statement of every account of a range that moved in the period.

#include <cstdint>
#include <vector>

#include "reports/lancamentos_periodo.h"
#include "reports/periodo.h"
#include "reports/plano.h"
#include "values/total.h"

namespace qx {

struct LinhaExtrato {
  LancamentoLido lancamento;
  int32_t conta = 0;          // the account of the statement the line moves
  int32_t contrapartida = 0;  // the entry's other account
  CURRENCY debito{};
  CURRENCY credito{};
  Total saldo;  // after this line
};

struct Extrato {
  Conta conta;
  Total anterior;
  Total debitos;
  Total creditos;
  Total final;
  std::vector<LinhaExtrato> linhas;

  bool Estourou() const;
};

Extrato MontaExtrato(SessaoLancamento& servico, const PlanoDeContas& plano, int32_t conta,
                     const Periodo& periodo);

// The statements of the accounts numbered from `primeira` to `ultima` that
// have entries in the period, in the order of the chart.
std::vector<Extrato> MontaRazao(SessaoLancamento& servico, const PlanoDeContas& plano,
                                int32_t primeira, int32_t ultima, const Periodo& periodo);

}  // namespace qx
