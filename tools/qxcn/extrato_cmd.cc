// extrato and razao: account statements from their opening balances.
#include <span>
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "lancamentos.h"
#include "periodo.h"
#include "reports/extrato.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

Tabela TabelaLinhas(std::span<const qx::Extrato> extratos) {
  Tabela tabela({"data", "mes", "pos", "conta", "documento", "historico", "contrapartida", "debito",
                 "credito", "saldo", "complemento"});
  for (const qx::Extrato& extrato : extratos) {
    for (const qx::LinhaExtrato& linha : extrato.linhas) {
      const qx::LancamentoLido& l = linha.lancamento;
      tabela.Linha({CQXData(l.dados.DataLancamento), l.mes, int64_t{l.posicao},
                    int64_t{linha.conta}, int64_t{l.dados.Documento},
                    int64_t{static_cast<uint16_t>(l.dados.CodHis)}, int64_t{linha.contrapartida},
                    linha.debito, linha.credito, linha.saldo, Texto{l.complemento}});
    }
  }
  return tabela;
}

std::vector<std::string> ColunasSaldos() {
  return {"saldo_anterior", "debitos", "creditos", "saldo_final"};
}
std::vector<Celula> CelulasSaldos(const qx::Extrato& e) {
  return {e.anterior, e.debitos, e.creditos, e.final};
}

// One statement as people read it: the account, the opening balance, the
// lines, the totals.
void MostraParaPessoas(Saida& saida, const qx::Extrato& e, const qx::Periodo& p) {
  saida.Aviso(std::string(e.conta.total ? "Conta totalizadora " : "Conta ") + NomeConta(e.conta));
  saida.Aviso("Saldo anterior a " + qx::DateText(p.de) + " (lançamentos desde " +
              qx::DateText(p.desde) + "): " + TotalParaPessoas(e.anterior));
  if (!e.linhas.empty()) saida.Mostra("extrato", "", TabelaLinhas({&e, 1}));
  saida.Aviso("Débitos " + TotalParaPessoas(e.debitos) + "  Créditos " +
              TotalParaPessoas(e.creditos) + "  Saldo final " + TotalParaPessoas(e.final));
}

void Extrato(const Argumentos& a, Servico& servico, Saida& saida) {
  const int32_t conta = static_cast<int32_t>(a.InteiroObrigatorio("conta", 1, INT32_MAX));
  const qx::Periodo p = LePeriodo(a, servico);
  const qx::Extrato e = qx::MontaExtrato(servico, qx::LePlano(servico, 'C'), conta, p);
  if (saida.ParaPessoas()) {
    saida.Aviso("Extrato " + TextoPeriodo(p.de, p.ate, p.filial));
    MostraParaPessoas(saida, e, p);
  } else {
    Tabela dados(Junta<std::string>({ColunasConta(), {"total", "desde", "de", "ate"}}));
    dados.Linha(Junta<Celula>({CelulasConta(e.conta), {e.conta.total, p.desde, p.de, p.ate}}));
    saida.Resumo("conta", dados, "");
    saida.Mostra("extrato", "", TabelaLinhas({&e, 1}));
    Tabela totais(ColunasSaldos());
    totais.Linha(CelulasSaldos(e));
    saida.Resumo("totais", totais, "");
  }
  VerificaEstouro(e.Estourou());
}

// "A..B", "A..", "..B" or "A": the first and the last account.
std::pair<int32_t, int32_t> LeContas(const Argumentos& a) {
  const std::string texto = a.Valor("contas").value_or("..");
  const size_t pontos = texto.find("..");
  const auto numero = [&](const std::string& parte, int32_t omissao) {
    return parte.empty() ? omissao
                         : static_cast<int32_t>(a.LeInteiro(parte, "--contas", 1, INT32_MAX));
  };
  if (pontos == std::string::npos) {
    const int32_t conta = numero(texto, 0);
    return {conta, conta};
  }
  const std::pair<int32_t, int32_t> contas = {numero(texto.substr(0, pontos), 1),
                                              numero(texto.substr(pontos + 2), INT32_MAX)};
  if (contas.second < contas.first) throw ErroUso{"--contas: a última antes da primeira"};
  return contas;
}

void Razao(const Argumentos& a, Servico& servico, Saida& saida) {
  const auto [primeira, ultima] = LeContas(a);
  const qx::Periodo p = LePeriodo(a, servico);
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
    Tabela contas(Junta<std::string>({ColunasConta(), ColunasSaldos()}));
    for (const qx::Extrato& e : razao) {
      contas.Linha(Junta<Celula>({CelulasConta(e.conta), CelulasSaldos(e)}));
    }
    saida.Mostra("contas", "", contas);
    saida.Mostra("lancamentos", "", TabelaLinhas(razao));
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
       Junta<Opcao>({{{"contas", "A..B", "só as contas de número A a B (A.. ou ..B também)"}},
                     OpcoesPeriodo()}),
       ComServico(Razao)},
  };
}

}  // namespace qxcn
