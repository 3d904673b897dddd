#include "reports/lancamentos_periodo.h"

#include "reports/leitura_mes.h"

namespace qx {

void PercorreLancamentos(SessaoLancamento& servico, CQXData de, CQXData ate, uint16_t filial,
                         bool complementos, const Visita& visita) {
  if (ate < de) return;
  const uint32_t ultimo = ate.MesAno().Value();
  LancamentoLido lido;
  for (uint32_t m = de.MesAno().Value(); m != 0 && m <= ultimo; ++m) {
    lido.mes = CQXMesAno(m);
    PercorreLancamentosDoMes(servico, lido.mes, complementos, [&](const auto& pagina) {
      for (const LancamentoDoMes& l : pagina) {
        const CQXData data(l.dados.DataLancamento);
        if (l.Excluido() || data < de || ate < data) continue;
        if (filial != 0 && static_cast<uint16_t>(l.dados.Filial) != filial) continue;
        lido.posicao = l.posicao;
        lido.dados = l.dados;
        lido.complemento = l.complemento;
        visita(lido);
      }
    });
  }
}

}  // namespace qx
