// balancete: the trial balance.
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "lancamentos.h"
#include "periodo.h"
#include "reports/balancete.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

Tabela TabelaBalancete(const qx::Balancete& b, bool paraPessoas) {
  std::vector<std::string> colunas =
      Junta<std::string>({ColunasConta(), {"nivel", "total", "saldo_anterior"}});
  if (b.meses.empty()) {
    colunas.insert(colunas.end(), {"debitos", "creditos"});
  }
  for (const CQXMesAno mes : b.meses) colunas.push_back(mes.Text(10, '-'));
  colunas.push_back("saldo_final");
  Tabela tabela(colunas);
  for (const qx::LinhaBalancete& linha : b.linhas) {
    qx::Conta conta = linha.conta;
    // People see the chart's hierarchy in the names.
    if (paraPessoas && conta.nivel > 1) conta.nome.insert(0, 2 * (conta.nivel - 1), ' ');
    std::vector<Celula> celulas = CelulasConta(conta);
    const qx::Figuras& f = linha.figuras;
    celulas.insert(celulas.end(), {int64_t{conta.nivel}, conta.total, f.anterior});
    if (b.meses.empty()) celulas.insert(celulas.end(), {f.debitos, f.creditos});
    for (const qx::Total& mes : f.meses) celulas.push_back(mes);
    celulas.push_back(f.Final());
    tabela.Linha(std::move(celulas));
  }
  return tabela;
}

// Whether debits equal credits, and what the difference is when they do not.
std::string TextoEquilibrio(const qx::Balancete& b, const qx::Periodo& p) {
  std::string texto =
      "Débitos " + TotalParaPessoas(b.debitos) + " e créditos " + TotalParaPessoas(b.creditos);
  if (b.diferenca.Zero()) return texto + ": iguais no período.";
  return texto + ": diferença de " + TotalParaPessoas(b.diferenca) +
         ", os lançamentos com uma conta só (débito sem crédito menos crédito sem débito),\n" +
         "a mesma de qxcn diferencas --de " + qx::DateText(p.de) + " --ate " + qx::DateText(p.ate) +
         ".";
}

void Balancete(const Argumentos& a, Servico& servico, Saida& saida) {
  qx::PedidoBalancete pedido;
  pedido.periodo = LePeriodo(a, servico);
  pedido.nivel = static_cast<uint16_t>(a.Inteiro("nivel", 1, UINT16_MAX).value_or(0));
  pedido.porMes = a.Marca("por-mes");
  pedido.zeradas = a.Marca("zeradas");
  const qx::Periodo& p = pedido.periodo;
  const qx::Balancete b = qx::MontaBalancete(servico, qx::LePlano(servico, 'C'), pedido);

  Tabela periodo({"desde", "de", "ate", "filial"});
  periodo.Linha({p.desde, p.de, p.ate, p.filial != 0 ? Celula(p.filial) : Celula()});
  saida.Resumo("periodo", periodo,
               "Balancete " + TextoPeriodo(p.de, p.ate, p.filial) +
                   "; saldo anterior dos lançamentos desde " + qx::DateText(p.desde) +
                   ".\nSaldos: positivos devedores, negativos credores.");
  saida.Mostra("balancete", "", TabelaBalancete(b, saida.ParaPessoas()));
  Tabela totais({"debitos", "creditos", "diferenca"});
  totais.Linha({b.debitos, b.creditos, b.diferenca});
  saida.Resumo("totais", totais, TextoEquilibrio(b, p));
  VerificaEstouro(b.Estourou());
}

}  // namespace

std::vector<Comando> ComandosBalancete() {
  return {{"balancete", "",
           "o saldo anterior, os débitos, os créditos e o saldo final de cada conta do plano",
           Junta<Opcao>({OpcoesPeriodo(),
                         {{"nivel", "N", "só as contas até o nível N do plano"},
                          {"por-mes", "", "o movimento de cada mês no lugar de débitos e créditos"},
                          {"zeradas", "", "também as contas sem saldo nem movimento"}}}),
           ComServico(Balancete)}};
}

}  // namespace qxcn
