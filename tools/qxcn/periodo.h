#pragma once
// The period options of the searches and reports: --de / --ate (the current
// year by default), and for the reports --desde and --filial.

#include <vector>

#include "comandos.h"
#include "reports/periodo.h"

namespace qxcn {

struct Datas {
  CQXData de;
  CQXData ate;
};

// --de and --ate.
std::vector<Opcao> OpcoesDatas();
// --de, --ate, --desde and --filial.
std::vector<Opcao> OpcoesPeriodo();

// --de / --ate; --ate before --de throws ErroUso.
Datas LeDatas(const Argumentos& argumentos);
// The dates, where the opening balances start (--desde, else where the
// company's books start) and the branch.
qx::Periodo LePeriodo(const Argumentos& argumentos, const Servico& servico);

}  // namespace qxcn
