#pragma once
// What the reports need of the company's data beyond its entries, read from
// the suite's services for the session's company.

#include "reports/sessao.h"
#include "values/qx_data.h"

namespace qx {

struct DadosEmpresa {
  CQXData inicioExercicio;      // first day of the accounting period; empty when not set
  bool usaQuantidades = false;  // managerial quantities are kept
};

// A failure throws FalhaServico.
DadosEmpresa LeDadosEmpresa(const SessaoLancamento& servico);

}  // namespace qx
