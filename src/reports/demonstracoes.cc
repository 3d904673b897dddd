#include "reports/demonstracoes.h"

#include <algorithm>

#include "reports/encerramento.h"
#include "reports/lancamentos_periodo.h"

namespace qx {

std::vector<Saldos> LeSaldos(SessaoLancamento& servico, const std::vector<Intervalo>& intervalos,
                             uint16_t filial, bool semEncerramento) {
  std::vector<Saldos> saldos(intervalos.size());
  if (intervalos.empty()) return saldos;
  CQXData de = intervalos[0].de, ate = intervalos[0].ate;
  for (const Intervalo& i : intervalos) {
    de = std::min(de, i.de);
    ate = std::max(ate, i.ate);
  }
  PercorreLancamentos(servico, de, ate, filial, false, [&](const LancamentoLido& l) {
    if (semEncerramento && EhEncerramento(l.dados)) return;
    const CQXData data(l.dados.DataLancamento);
    for (size_t k = 0; k < intervalos.size(); ++k) {
      if (intervalos[k].de <= data && data <= intervalos[k].ate) saldos[k].Junta(l.dados);
    }
  });
  return saldos;
}

Balanco MontaBalanco(SessaoLancamento& servico, const PlanoDeContas& plano,
                     const PedidoBalanco& pedido) {
  return BalancoDosSaldos(plano, pedido.datas,
                          LeSaldos(servico, pedido.datas, pedido.filial, false), pedido.nivel);
}

Dre MontaDre(SessaoLancamento& servico, const PlanoDeContas& plano, const PedidoDre& pedido) {
  std::vector<CQXMesAno> meses;
  std::vector<Intervalo> intervalos = {{pedido.de, pedido.ate}};
  if (pedido.porMes) {
    intervalos.clear();
    for (uint32_t m = pedido.de.MesAno().Value(); m != 0 && m <= pedido.ate.MesAno().Value(); ++m) {
      const CQXMesAno mes(m);
      meses.push_back(mes);
      intervalos.push_back({std::max(pedido.de, CQXData::FromMesAno(mes, 1)),
                            std::min(pedido.ate, CQXData::FromMesAno(mes, 31))});
    }
  }
  return DreDosMovimentos(plano, meses, LeSaldos(servico, intervalos, pedido.filial, true),
                          pedido.nivel);
}

}  // namespace qx
