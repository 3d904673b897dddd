#pragma once
// The options of the searches and reports that qxcn and qxweb share: the
// period (--de / --ate, the current year by default, and for the reports
// --desde and --filial), the trial balance's, the ledger's range of accounts
// and the cost centres'.

#include <cstdint>
#include <utility>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "reports/balancete.h"
#include "reports/centros.h"
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

// The period's, --nivel, --por-mes and --zeradas.
std::vector<Opcao> OpcoesBalancete();
PedidoBalancete LePedidoBalancete(const Argumentos& argumentos, const Identidade& identidade);

// --contas A..B.
Opcao OpcaoContas();
// "A..B", "A..", "..B" or "A" (every account without it): the first and the
// last account.
std::pair<int32_t, int32_t> LeContas(const Argumentos& argumentos);

// --de, --ate, --filial and --conta-gerencial.
std::vector<Opcao> OpcoesCentros();
PedidoCentros LePedidoCentros(const Argumentos& argumentos);

}  // namespace qx::cli
