#pragma once
// The statements' lines (J100, J150) that the chart's structure gives when
// the books bring none: a detail line per aggregation code, placed where the
// account of that code stands (else where the first account it gathers
// stands), under the chart's synthetic accounts as totals. The balance sheet
// is valued from the first month's opening and the last month's closing
// balances, the income statement from the result before the closing on the
// fiscal year's last day, so that the lines agree with I052, I155 and I355.

#include "reports/ecd/livro.h"

namespace qx::ecd {

// Fills livro->balanco and livro->dre from the chart and the balances.
void MontaDemonstracoes(Livro* livro);

}  // namespace qx::ecd
