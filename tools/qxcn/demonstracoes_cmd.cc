// balanco and dre: the balance sheet and the income statement.
#include <vector>

#include "comandos.h"
#include "common/demonstracoes.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "reports/demonstracoes.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

void Balanco(const Argumentos& a, Servico& servico, Saida& saida) {
  const qx::PedidoBalanco pedido = qx::cli::LePedidoBalanco(a, servico.identidade());
  const qx::Balanco b = qx::MontaBalanco(servico, qx::LePlano(servico, 'C'), pedido);
  saida.Mostra("balanco",
               qx::cli::TituloBalanco(b, pedido.filial) +
                   ".\nAtivo: saldos devedores positivos; passivo e patrimônio líquido: "
                   "credores positivos.",
               qx::cli::TabelaBalanco(b, saida.ParaPessoas()));
  if (saida.ParaPessoas()) {
    saida.Aviso(qx::cli::TextoTotaisBalanco(b));
  } else {
    saida.Mostra("totais", "", qx::cli::TabelaTotaisBalanco(b));
  }
  VerificaEstouro(b.Estourou());
}

void Dre(const Argumentos& a, Servico& servico, Saida& saida) {
  const qx::PedidoDre pedido = qx::cli::LePedidoDre(a);
  const qx::Dre dre = qx::MontaDre(servico, qx::LePlano(servico, 'C'), pedido);
  saida.Mostra("dre",
               "Demonstração do resultado " + TextoPeriodo(pedido.de, pedido.ate, pedido.filial) +
                   ".\nReceitas: créditos positivos; deduções, custos e despesas: débitos "
                   "positivos.",
               qx::cli::TabelaDre(dre, saida.ParaPessoas()));
  saida.Resumo("totais", qx::cli::TabelaTotaisDre(dre), qx::cli::TextoTotaisDre(dre));
  VerificaEstouro(dre.Estourou());
}

}  // namespace

std::vector<Comando> ComandosDemonstracoes() {
  return {
      {"balanco", "",
       "o balanço patrimonial numa data (ativo; passivo e patrimônio líquido), pela natureza das "
       "contas",
       qx::cli::OpcoesBalanco(), ComServico(Balanco)},
      {"dre", "",
       "a demonstração do resultado do período: receitas, deduções, custos, despesas e o "
       "resultado",
       qx::cli::OpcoesDre(), ComServico(Dre)},
  };
}

}  // namespace qxcn
