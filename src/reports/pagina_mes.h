#pragma once
// A page of a month's stored entries by position, for views that page
// through a month without reading the rest of it for each page.

#include <cstdint>
#include <vector>

#include "reports/leitura.h"
#include "reports/leitura_mes.h"
#include "values/qx_mes_ano.h"

namespace qx {

struct PaginaDoMes {
  std::vector<LancamentoLido> lancamentos;  // in position order; deleted ones marked
  int32_t ultima = 0;                       // the month's last position
};

// The entries at positions inicio to inicio + quantidade - 1 (at most
// kLancamentosPorPagina), with their complements. A failure throws
// FalhaServico.
PaginaDoMes LePaginaDoMes(SessaoLancamento& servico, CQXMesAno mes, int32_t inicio,
                          int32_t quantidade);

}  // namespace qx
