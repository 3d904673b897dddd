// An account's statement from its opening balance, with a chart of the
// balance at the end of each day, and the ledger: the statement of every
// account of a range that moved in the period. Their lines go out page by
// page.
#include <span>
#include <string>
#include <vector>

#include "common/periodo.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "formulario.h"
#include "graficos.h"
#include "html.h"
#include "paginacao.h"
#include "paginas.h"
#include "values/br_text.h"

namespace qxweb {
namespace {

using qx::cli::TotalParaPessoas;

// The statement's balance at the end of each day it moved, after its
// opening balance; nothing when a balance overflowed.
std::string GraficoSaldo(const qx::Extrato& e, const qx::Periodo& p) {
  std::vector<std::string> rotulos = {qx::DateText(p.de).substr(0, 5)};
  std::vector<CURRENCY> saldos = {e.anterior.Valor()};
  uint32_t dia = 0;
  for (const qx::LinhaExtrato& linha : e.linhas) {
    if (linha.saldo.Estourou()) return "";
    const uint32_t data = linha.lancamento.dados.DataLancamento;
    if (data != dia) {
      rotulos.push_back(qx::DateText(CQXData(data)).substr(0, 5));
      saldos.push_back({});
      dia = data;
    }
    saldos.back() = linha.saldo.Valor();
  }
  if (e.anterior.Estourou()) return "";
  return GraficoLinha("Saldo ao fim de cada dia", rotulos, saldos);
}

// The lines of statements, one page of them, with the links around it.
void MostraLinhas(Pedido& pedido, Documento& documento, std::span<const qx::Extrato> extratos,
                  const std::string& chave) {
  const Tabela linhas = qx::cli::TabelaLinhasExtrato(extratos);
  const Pagina pagina = LePagina(pedido.argumentos(), static_cast<int64_t>(linhas.Tamanho()));
  documento.Resumo("pagina", TabelaPagina(pagina),
                   std::to_string(pagina.quantidade) + " linha(s)");
  documento.Mostra(chave, "Lançamentos", Recorta(linhas, pagina),
                   LigacaoAoLancamento(pedido.empresa(), 1));
  documento.Html(Navegacao(pedido.endereco(), pagina));
}

// People link an account's row to its statement.
Ligacao LigacaoAoExtrato(const std::string& empresa, const qx::Periodo& periodo) {
  return [empresa, periodo](const std::vector<Celula>& linha, size_t coluna) {
    if (coluna != 0) return std::string();
    return EnderecoExtrato(empresa, static_cast<int32_t>(linha[0].numero()), periodo);
  };
}

}  // namespace

std::vector<Opcao> OpcoesExtrato() {
  return qx::cli::Junta<Opcao>(
      {{{"conta", "CONTA", "a conta"}}, qx::cli::OpcoesPeriodo(), OpcoesPagina()});
}

std::vector<Opcao> OpcoesRazao() {
  return qx::cli::Junta<Opcao>({{qx::cli::OpcaoContas()}, qx::cli::OpcoesPeriodo(), OpcoesPagina()});
}

void PaginaExtrato(Pedido& pedido, Documento& documento) {
  const auto conta =
      static_cast<int32_t>(pedido.argumentos().InteiroObrigatorio("conta", 1, INT32_MAX));
  const qx::Periodo p = PeriodoDoPedido(pedido);
  qx::SessaoLancamento& servico = pedido.Servico();
  const qx::Extrato e = qx::MontaExtrato(servico, qx::LePlano(servico, 'C'), conta, p);

  documento.Titulo("Extrato de " + qx::cli::NomeConta(e.conta));
  TrilhaEmpresa(pedido, documento);
  NomeiaContas(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), OpcoesExtrato(), {"conta", "de", "ate"}));
  documento.Resumo("conta", qx::cli::TabelaContaExtrato(e, p),
                   std::string(e.conta.total ? "Conta totalizadora " : "Conta ") +
                       qx::cli::NomeConta(e.conta) + ", " +
                       qx::cli::TextoPeriodo(p.de, p.ate, p.filial));
  Tabela totais(qx::cli::ColunasSaldos());
  totais.Linha(qx::cli::CelulasSaldos(e));
  documento.Resumo("totais", std::move(totais),
                   "Saldo anterior a " + qx::DateText(p.de) + " (lançamentos desde " +
                       qx::DateText(p.desde) + "): " + TotalParaPessoas(e.anterior) +
                       " · Débitos " + TotalParaPessoas(e.debitos) + " · Créditos " +
                       TotalParaPessoas(e.creditos) + " · Saldo final " +
                       TotalParaPessoas(e.final));
  if (pedido.ParaPessoas()) documento.Html(GraficoSaldo(e, p));
  MostraLinhas(pedido, documento, {&e, 1}, "extrato");
  AvisaEstouro(e.Estourou(), documento);
}

void PaginaRazao(Pedido& pedido, Documento& documento) {
  const auto [primeira, ultima] = qx::cli::LeContas(pedido.argumentos());
  const qx::Periodo p = PeriodoDoPedido(pedido);
  qx::SessaoLancamento& servico = pedido.Servico();
  const std::vector<qx::Extrato> razao =
      qx::MontaRazao(servico, qx::LePlano(servico, 'C'), primeira, ultima, p);

  documento.Titulo("Razão " + qx::cli::TextoPeriodo(p.de, p.ate, p.filial));
  TrilhaEmpresa(pedido, documento);
  NomeiaContas(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), OpcoesRazao(), {"contas", "de", "ate"}));
  documento.Mostra("contas", "Contas com lançamentos no período",
                   qx::cli::TabelaContasRazao(razao), LigacaoAoExtrato(pedido.empresa(), p));
  MostraLinhas(pedido, documento, razao, "lancamentos");
  bool estourou = false;
  for (const qx::Extrato& e : razao) estourou = estourou || e.Estourou();
  AvisaEstouro(estourou, documento);
}

}  // namespace qxweb
