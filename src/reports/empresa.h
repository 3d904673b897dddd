#pragma once
// What the reports need of the company's data beyond its entries, read from
// the suite's services for the session's company.

#include "reports/sessao.h"
#include "values/qx_data.h"

namespace qx {

// The first day of the company's accounting period (the accounting master's
// configuration); empty when not set. A failure throws FalhaServico.
CQXData InicioDoExercicio(const SessaoLancamento& servico);

}  // namespace qx
