#pragma once
// The period options of the searches and reports of qxcn and qxweb: --de / --ate (the current
// year by default), and for the reports --desde and --filial.

#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "reports/periodo.h"
#include "reports/sessao.h"

namespace qx::cli {

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
Periodo LePeriodo(const Argumentos& argumentos, const Identidade& identidade);

}  // namespace qx::cli
