// extrato and razao: account statements from their opening balances.
#include <span>
#include <vector>

#include "comandos.h"
#include "common/periodo.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "lancamentos.h"
#include "reports/extrato.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

// One statement as people read it: the account, the opening balance, the
// lines, the totals.
void MostraParaPessoas(Saida& saida, const qx::Extrato& e, const qx::Periodo& p) {
  saida.Aviso(std::string(e.conta.total ? "Conta totalizadora " : "Conta ") + NomeConta(e.conta));
  saida.Aviso("Saldo anterior a " + qx::DateText(p.de) + " (lançamentos desde " +
              qx::DateText(p.desde) + "): " + TotalParaPessoas(e.anterior));
  if (!e.linhas.empty()) saida.Mostra("extrato", "", TabelaLinhasExtrato({&e, 1}));
  saida.Aviso("Débitos " + TotalParaPessoas(e.debitos) + "  Créditos " +
              TotalParaPessoas(e.creditos) + "  Saldo final " + TotalParaPessoas(e.final));
}

void Extrato(const Argumentos& a, Servico& servico, Saida& saida) {
  const int32_t conta = static_cast<int32_t>(a.InteiroObrigatorio("conta", 1, INT32_MAX));
  const qx::Periodo p = LePeriodo(a, servico.identidade());
  const qx::Extrato e = qx::MontaExtrato(servico, qx::LePlano(servico, 'C'), conta, p);
  if (saida.ParaPessoas()) {
    saida.Aviso("Extrato " + TextoPeriodo(p.de, p.ate, p.filial));
    MostraParaPessoas(saida, e, p);
  } else {
    saida.Resumo("conta", TabelaContaExtrato(e, p), "");
    saida.Mostra("extrato", "", TabelaLinhasExtrato({&e, 1}));
    Tabela totais(ColunasSaldos());
    totais.Linha(CelulasSaldos(e));
    saida.Resumo("totais", totais, "");
  }
  VerificaEstouro(e.Estourou());
}

void Razao(const Argumentos& a, Servico& servico, Saida& saida) {
  const auto [primeira, ultima] = LeContas(a);
  const qx::Periodo p = LePeriodo(a, servico.identidade());
  const std::vector<qx::Extrato> razao =
      qx::MontaRazao(servico, qx::LePlano(servico, 'C'), primeira, ultima, p);
  bool estourou = false;
  for (const qx::Extrato& e : razao) estourou = estourou || e.Estourou();
  if (saida.ParaPessoas()) {
    saida.Aviso("Razão " + TextoPeriodo(p.de, p.ate, p.filial));
    for (const qx::Extrato& e : razao) {
      saida.Aviso("");
      MostraParaPessoas(saida, e, p);
    }
    if (razao.empty()) saida.Aviso("Nenhuma conta com lançamentos no período.");
  } else {
    saida.Mostra("contas", "", TabelaContasRazao(razao));
    saida.Mostra("lancamentos", "", TabelaLinhasExtrato(razao));
  }
  VerificaEstouro(estourou);
}

}  // namespace

std::vector<Comando> ComandosExtrato() {
  return {
      {"extrato", "",
       "os lançamentos de uma conta (ou das contas de uma totalizadora) em ordem de data, "
       "do saldo anterior ao final",
       Junta<Opcao>({{{"conta", "CONTA", "a conta"}}, OpcoesPeriodo()}), ComServico(Extrato)},
      {"razao", "", "o extrato de cada conta que teve lançamentos no período",
       Junta<Opcao>({{OpcaoContas()}, OpcoesPeriodo()}),
       ComServico(Razao)},
  };
}

}  // namespace qxcn
