#pragma once
// The nature of an account as the reports and the rules of a save take it:
// from the company's rules by classification (outside/database/naturezas.h), and what
// it decides about a split line.

#include <cstdint>
#include <string_view>
#include <vector>

#include "contract/iqxcn_lancamento.h"
#include "outside/database/naturezas.h"

namespace qx {

// The nature of the rule of the longest classification at or above the
// level of `classificacao` (reports/niveis.h); kNenhuma when none reaches it.
Natureza NaturezaDaClassificacao(const std::vector<RegraNatureza>& regras,
                                 std::string_view classificacao);

// The accounting account of a split line that names none: the side of the
// entry that is a result account (revenue, deduction, cost or expense), the
// debit otherwise, the credit of an entry without debit.
int32_t ContaDoRateio(const RegDados& dados, Natureza debito, Natureza credito);

}  // namespace qx
