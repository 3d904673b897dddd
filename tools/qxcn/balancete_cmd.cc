// balancete: the trial balance.
#include <vector>

#include "comandos.h"
#include "common/periodo.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "lancamentos.h"
#include "reports/balancete.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

void Balancete(const Argumentos& a, Servico& servico, Saida& saida) {
  const qx::PedidoBalancete pedido = LePedidoBalancete(a, servico.identidade());
  const qx::Periodo& p = pedido.periodo;
  const qx::Balancete b = qx::MontaBalancete(servico, qx::LePlano(servico, 'C'), pedido);

  saida.Resumo("periodo", TabelaPeriodo(p),
               "Balancete " + TextoPeriodo(p.de, p.ate, p.filial) +
                   "; saldo anterior dos lançamentos desde " + qx::DateText(p.desde) +
                   ".\nSaldos: positivos devedores, negativos credores.");
  saida.Mostra("balancete", "", TabelaBalancete(b, saida.ParaPessoas()));
  saida.Resumo("totais", TabelaTotaisBalancete(b), TextoEquilibrio(b, p));
  VerificaEstouro(b.Estourou());
}

}  // namespace

std::vector<Comando> ComandosBalancete() {
  return {{"balancete", "",
           "o saldo anterior, os débitos, os créditos e o saldo final de cada conta do plano",
           OpcoesBalancete(), ComServico(Balancete)}};
}

}  // namespace qxcn
