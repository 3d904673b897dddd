// centros: what the split lines allot to each cost centre.
#include <vector>

#include "comandos.h"
#include "common/periodo.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "lancamentos.h"
#include "reports/centros.h"

namespace qxcn {
namespace {

void Centros(const Argumentos& a, Servico& servico, Saida& saida) {
  const qx::PedidoCentros pedido = LePedidoCentros(a);
  const qx::Centros c =
      qx::MontaCentros(servico, qx::LePlano(servico, 'C'), qx::LePlano(servico, 'G'), pedido);

  saida.Mostra("centros", "Centros de custo " + TextoPeriodo(pedido.de, pedido.ate, pedido.filial),
               TabelaCentros(c, saida.ParaPessoas()));
  // People read each centre's total after its lines; scripts get them apart.
  if (!saida.ParaPessoas()) saida.Mostra("totais_centros", "", TabelaTotaisCentros(c));
  saida.Resumo("totais", TabelaTotalCentros(c),
               "Total rateado " + TotalParaPessoas(c.total.valor) + ", quantidade " +
                   TotalParaPessoas(c.total.quantidade));
  VerificaEstouro(c.Estourou());
}

}  // namespace

std::vector<Comando> ComandosCentros() {
  return {{"centros", "",
           "o que os rateios gerenciais do período dão a cada centro de custo, por conta contábil",
           OpcoesCentros(), ComServico(Centros)}};
}

}  // namespace qxcn
