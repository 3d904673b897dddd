#include "reports/balancete.h"

#include <algorithm>
#include <map>

#include "reports/lancamentos_periodo.h"

namespace qx {

Total Figuras::Final() const {
  Total final = anterior;
  final.Soma(debitos);
  final.Subtrai(creditos);
  return final;
}

void Figuras::Soma(const Figuras& outras) {
  anterior.Soma(outras.anterior);
  debitos.Soma(outras.debitos);
  creditos.Soma(outras.creditos);
  meses.resize(std::max(meses.size(), outras.meses.size()));
  for (size_t i = 0; i < outras.meses.size(); ++i) meses[i].Soma(outras.meses[i]);
}

bool Figuras::Zeradas() const {
  return anterior.Zero() && debitos.Zero() && creditos.Zero() && Final().Zero() &&
         std::all_of(meses.begin(), meses.end(), [](const Total& t) { return t.Zero(); });
}

bool Figuras::Estourou() const {
  return anterior.Estourou() || debitos.Estourou() || creditos.Estourou() || Final().Estourou() ||
         std::any_of(meses.begin(), meses.end(), [](const Total& t) { return t.Estourou(); });
}

bool Balancete::Estourou() const {
  return debitos.Estourou() || creditos.Estourou() || diferenca.Estourou() ||
         std::any_of(linhas.begin(), linhas.end(),
                     [](const LinhaBalancete& l) { return l.figuras.Estourou(); });
}

Balancete MontaBalancete(SessaoLancamento& servico, const PlanoDeContas& plano,
                         const PedidoBalancete& pedido) {
  const Periodo& periodo = pedido.periodo;
  Balancete balancete;
  const uint32_t primeiroMes = periodo.de.MesAno().Value();
  if (pedido.porMes) {
    for (uint32_t m = primeiroMes; m != 0 && m <= periodo.ate.MesAno().Value(); ++m) {
      balancete.meses.emplace_back(m);
    }
  }

  // Each account's own figures, from its entries.
  std::map<int32_t, Figuras> proprias;
  const auto lado = [&](int32_t conta, const LancamentoLido& l, bool debito) {
    if (conta == 0) return;
    Figuras& f = proprias[conta];
    f.meses.resize(balancete.meses.size());
    const CURRENCY valor = l.dados.Valor;
    if (CQXData(l.dados.DataLancamento) < periodo.de) {
      debito ? f.anterior.Soma(valor) : f.anterior.Subtrai(valor);
      return;
    }
    (debito ? f.debitos : f.creditos).Soma(valor);
    (debito ? balancete.debitos : balancete.creditos).Soma(valor);
    if (pedido.porMes) {
      Total& mes = f.meses[l.mes.Value() - primeiroMes];
      debito ? mes.Soma(valor) : mes.Subtrai(valor);
    }
  };
  PercorreLancamentos(servico, std::min(periodo.desde, periodo.de), periodo.ate, periodo.filial,
                      false, [&](const LancamentoLido& l) {
                        const RegDados& d = l.dados;
                        lado(d.Debito, l, true);
                        lado(d.Credito, l, false);
                        if (CQXData(d.DataLancamento) < periodo.de) return;
                        if (d.Debito != 0 && d.Credito == 0) balancete.diferenca.Soma(d.Valor);
                        if (d.Debito == 0 && d.Credito != 0) balancete.diferenca.Subtrai(d.Valor);
                      });

  const auto mostra = [&](const Conta& conta, Figuras figuras) {
    if (pedido.nivel != 0 && conta.nivel > pedido.nivel) return;
    if (!pedido.zeradas && figuras.Zeradas()) return;
    figuras.meses.resize(balancete.meses.size());
    balancete.linhas.push_back({conta, std::move(figuras)});
  };
  const std::vector<Conta>& contas = plano.Contas();
  for (size_t i = 0; i < contas.size(); ++i) {
    Figuras figuras;
    for (const size_t j : contas[i].total ? plano.Abaixo(i) : std::vector<size_t>{i}) {
      if (const auto f = proprias.find(contas[j].numero); f != proprias.end()) {
        figuras.Soma(f->second);
      }
    }
    mostra(contas[i], std::move(figuras));
  }
  for (const auto& [numero, figuras] : proprias) {
    if (!plano.Tem(numero)) mostra(plano.Busca(numero), figuras);
  }
  return balancete;
}

}  // namespace qx
