#pragma once
// The sections of the statements (balance sheet, income statement): the
// chart's accounts of some natures with their figures in each column, and
// what those accounts add up to. Data only.

#include <cstdint>
#include <functional>
#include <vector>

#include "reports/plano.h"
#include "reports/saldos.h"

namespace qx {

struct LinhaSecao {
  Conta conta;
  std::vector<Total> colunas;  // one figure per column
};

using Naturezas = std::function<bool(Natureza)>;

// The accounts of the chart whose nature `admite` takes (to depth `nivel`,
// when not 0), each with its figure (PeloPlano) in every column times
// `sinal`; an account whose figures are all zero is left out. Accounts the
// chart lacks have no nature: they come last, when kNenhuma is admitted.
std::vector<LinhaSecao> LinhasDaSecao(const PlanoDeContas& plano,
                                      const std::vector<Saldos>& colunas, const Naturezas& admite,
                                      int sinal, uint16_t nivel);

// Per column, the accounts' own balances summed over those whose nature
// `admite` takes, times `sinal`: the section's total, with no account
// counted twice.
std::vector<Total> TotalDaSecao(const PlanoDeContas& plano, const std::vector<Saldos>& colunas,
                                const Naturezas& admite, int sinal);

}  // namespace qx
