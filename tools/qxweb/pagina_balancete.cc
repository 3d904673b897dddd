// The trial balance: every account of the chart with its balance before the
// period, its debits and credits (or each month's movement) and its balance
// at the end; a total account opens on the accounts under it.
#include <string>
#include <vector>

#include "common/periodo.h"
#include "common/relatorios.h"
#include "cabecalhos.h"
#include "formulario.h"
#include "html.h"
#include "paginas.h"
#include "values/br_text.h"

namespace qxweb {
namespace {

// The columns of the trial balance's table before its figures: conta,
// classificacao, nome, nivel, total.
constexpr size_t kAntesDasFiguras = 5;

// The table as the chart's tree: a total account is a <details> whose
// summary holds its figures, with the accounts under it inside; each name
// links to the account's statement.
std::string Arvore(const qx::Balancete& b, const Tabela& tabela, const std::string& empresa,
                   const qx::Periodo& periodo) {
  const std::vector<std::string>& colunas = tabela.Colunas();
  std::string html = "<div class=\"arvore\" id=\"balancete\" style=\"--colunas:" +
                     std::to_string(colunas.size() - kAntesDasFiguras) +
                     "\">\n<div class=\"linha cabeca\"><span>Conta</span>";
  for (size_t c = kAntesDasFiguras; c < colunas.size(); ++c) {
    html += "<span class=\"n\">" + Escapa(Cabecalho(colunas[c])) + "</span>";
  }
  html += "</div>\n";
  std::vector<uint16_t> abertas;  // the levels of the total accounts still open
  for (size_t i = 0; i < b.linhas.size(); ++i) {
    const qx::Conta& conta = b.linhas[i].conta;
    while (!abertas.empty() && (conta.nivel == 0 || abertas.back() >= conta.nivel)) {
      html += "</details>\n";
      abertas.pop_back();
    }
    // The name steps in by its level; the figures stay in their columns.
    std::string linha =
        "<span style=\"padding-left:" + std::to_string(conta.nivel > 1 ? conta.nivel - 1 : 0) +
        "em\">" +
        Link(EnderecoExtrato(empresa, conta.numero, periodo), qx::cli::NomeConta(conta)) +
        "</span>";
    const std::vector<Celula>& celulas = tabela.Linhas()[i];
    for (size_t c = kAntesDasFiguras; c < celulas.size(); ++c) {
      linha += CelulaHtml(celulas[c], "", "span");
    }
    if (conta.total) {
      html += std::string(conta.nivel <= 1 ? "<details open>" : "<details>") + "<summary>" +
              linha + "</summary>\n";
      abertas.push_back(conta.nivel);
    } else {
      html += "<div class=\"linha\">" + linha + "</div>\n";
    }
  }
  for (size_t i = 0; i < abertas.size(); ++i) html += "</details>\n";
  return html + "</div>";
}

}  // namespace

void PaginaBalancete(Pedido& pedido, Documento& documento) {
  qx::PedidoBalancete pedidoBalancete =
      qx::cli::LePedidoBalancete(pedido.argumentos(), pedido.identidade());
  const qx::Periodo& p = pedidoBalancete.periodo;
  LimitaMeses(p.desde, p.ate);
  qx::SessaoLancamento& servico = pedido.Servico();
  const qx::Balancete b = qx::MontaBalancete(servico, qx::LePlano(servico, 'C'), pedidoBalancete);

  documento.Titulo("Balancete " + qx::cli::TextoPeriodo(p.de, p.ate, p.filial));
  TrilhaEmpresa(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), qx::cli::OpcoesBalancete(),
                            {"de", "ate", "nivel", "por-mes", "zeradas"}));
  documento.Resumo("periodo", qx::cli::TabelaPeriodo(p),
                   "Saldo anterior dos lançamentos desde " + qx::DateText(p.desde) +
                       ". Saldos: positivos devedores, negativos credores.");
  Tabela tabela = qx::cli::TabelaBalancete(b, false);
  std::string arvore = pedido.ParaPessoas() ? Arvore(b, tabela, pedido.empresa(), p) : "";
  documento.MostraDesenhada("balancete", "Contas", std::move(tabela), std::move(arvore));
  documento.Resumo("totais", qx::cli::TabelaTotaisBalancete(b), qx::cli::TextoEquilibrio(b, p));
  AvisaEstouro(b.Estourou(), documento);
}

}  // namespace qxweb
