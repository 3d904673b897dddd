#pragma once
// A page of a month's stored entries by position, for views that page
// through a month without reading the rest of it for each page, and the
// same page by page over a whole month for their sums.

#include <cstdint>
#include <functional>
#include <vector>

#include "reports/leitura.h"
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

// Calls `pagina` with each page of the month's entries.
void PercorreMes(SessaoLancamento& servico, CQXMesAno mes,
                 const std::function<void(const std::vector<LancamentoLido>&)>& pagina);

inline constexpr int32_t kLancamentosPorPagina = 4096;

}  // namespace qx
