#pragma once
// The balance sheet and the income statement of the books the service
// keeps: the entries read in bulk, once, and summed into the balances the
// statements are made of (reports/balanco.h, reports/dre.h).

#include <cstdint>
#include <vector>

#include "reports/balanco.h"
#include "reports/dre.h"
#include "reports/sessao.h"

namespace qx {

// The balances over each interval, from one reading of the entries from the
// first day to the last, of branch `filial` (0: every active branch);
// `semEncerramento` leaves the closing entries out. A failure throws
// FalhaServico.
std::vector<Saldos> LeSaldos(SessaoLancamento& servico, const std::vector<Intervalo>& intervalos,
                             uint16_t filial, bool semEncerramento);

struct PedidoBalanco {
  std::vector<Intervalo> datas;  // per column: where its balances start, and its date
  uint16_t filial = 0;
  uint16_t nivel = 0;  // the deepest level shown; 0 for all
};
Balanco MontaBalanco(SessaoLancamento& servico, const PlanoDeContas& plano,
                     const PedidoBalanco& pedido);

struct PedidoDre {
  CQXData de;
  CQXData ate;
  uint16_t filial = 0;
  uint16_t nivel = 0;
  bool porMes = false;  // the movement of each month too
};
Dre MontaDre(SessaoLancamento& servico, const PlanoDeContas& plano, const PedidoDre& pedido);

}  // namespace qx
