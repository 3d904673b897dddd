#pragma once
// The balance sheet (balanço patrimonial) at one date, or at two side by
// side, from the chart's structure and the natures of its accounts: the
// assets; the liabilities and equity, with the result of the accounts of
// revenue, deduction, cost and expense not yet closed into equity; and apart
// from both, the memorandum accounts and those of no nature. Assets show
// debit balances as positive, liabilities and equity credit ones. Data only:
// reports/demonstracoes.h reads the balances.
//
// Assets equal liabilities plus equity plus the unclosed result, unless
// something keeps them apart, which each column tells: the entries with one
// account only, and the balances of memorandum accounts and of accounts of
// no nature (Diferenca() = umLado - compensacao - semNatureza).

#include <cstdint>
#include <vector>

#include "reports/saldos.h"
#include "reports/secoes.h"
#include "values/qx_data.h"

namespace qx {

struct ColunaBalanco {
  CQXData desde;  // the balances sum the entries from this day
  CQXData em;     // to this one
  Total ativo;
  Total passivo;
  Total patrimonio;
  Total resultado;    // revenues less deductions, costs and expenses, not closed
  Total compensacao;  // debit balances positive, as those below
  Total semNatureza;
  Total umLado;  // debit-only entries less credit-only ones

  Total PassivoEPatrimonio() const;  // liabilities, equity and the unclosed result
  Total Diferenca() const;           // assets less that
  bool Estourou() const;
};

struct Balanco {
  std::vector<ColunaBalanco> colunas;
  std::vector<LinhaSecao> ativo;
  std::vector<LinhaSecao> passivo;  // liability and equity accounts, in the chart's order
  std::vector<LinhaSecao> compensacao;
  std::vector<LinhaSecao> semNatureza;

  bool Estourou() const;
};

// One column per period (de: where the balances start, ate: the date of the
// balance sheet) with the balances of its entries.
Balanco BalancoDosSaldos(const PlanoDeContas& plano, const std::vector<Intervalo>& datas,
                         const std::vector<Saldos>& saldos, uint16_t nivel);

}  // namespace qx
