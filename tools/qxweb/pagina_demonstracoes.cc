// The balance sheet and the income statement, each account's name linking to
// its statement over the period the figure sums.
#include <algorithm>
#include <string>
#include <vector>

#include "common/demonstracoes.h"
#include "common/relatorios.h"
#include "formulario.h"
#include "html.h"
#include "paginas.h"
#include "values/br_text.h"

namespace qxweb {
namespace {

// The columns of a statement's table: grupo, conta, classificacao, nome.
constexpr size_t kConta = 1;
constexpr size_t kNome = 3;

Ligacao AoExtrato(const std::string& empresa, const qx::Periodo& periodo) {
  return [empresa, periodo](const std::vector<Celula>& linha, size_t coluna) {
    if (coluna != kNome || linha[kConta].tipo() != Celula::Tipo::kNumero) return std::string();
    return EnderecoExtrato(empresa, static_cast<int32_t>(linha[kConta].numero()), periodo);
  };
}

// Text of several lines as paragraphs.
std::string Paragrafos(const std::string& texto) {
  std::string html;
  for (size_t inicio = 0; inicio <= texto.size();) {
    const size_t fim = std::min(texto.find('\n', inicio), texto.size());
    html += "<p class=\"resumo\">" + Escapa(texto.substr(inicio, fim - inicio)) + "</p>";
    inicio = fim + 1;
  }
  return html;
}

}  // namespace

void PaginaBalanco(Pedido& pedido, Documento& documento) {
  const qx::PedidoBalanco p = qx::cli::LePedidoBalanco(pedido.argumentos(), pedido.identidade());
  // One reading covers every date's entries.
  CQXData de = p.datas[0].de, ate = p.datas[0].ate;
  for (const qx::Intervalo& data : p.datas) {
    de = std::min(de, data.de);
    ate = std::max(ate, data.ate);
  }
  LimitaMeses(de, ate);
  qx::SessaoLancamento& servico = pedido.Servico();
  const qx::Balanco b = qx::MontaBalanco(servico, qx::LePlano(servico, 'C'), p);

  documento.Titulo(qx::cli::TituloBalanco(b, p.filial));
  TrilhaEmpresa(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), qx::cli::OpcoesBalanco(), {"em", "comparar"}));
  documento.Html(
      "<p>Ativo: saldos devedores positivos; passivo e patrimônio líquido: credores "
      "positivos.</p>");
  const qx::Intervalo& em = p.datas[0];
  documento.Mostra("balanco", "Contas", qx::cli::TabelaBalanco(b, false),
                   AoExtrato(pedido.empresa(), {em.de, em.de, em.ate, p.filial}));
  documento.Mostra("totais", "Conferência", qx::cli::TabelaTotaisBalanco(b));
  documento.Html(Paragrafos(qx::cli::TextoTotaisBalanco(b)));
  AvisaEstouro(b.Estourou(), documento);
}

void PaginaDre(Pedido& pedido, Documento& documento) {
  const qx::PedidoDre p = qx::cli::LePedidoDre(pedido.argumentos());
  LimitaMeses(p.de, p.ate);
  qx::SessaoLancamento& servico = pedido.Servico();
  const qx::Dre dre = qx::MontaDre(servico, qx::LePlano(servico, 'C'), p);

  documento.Titulo("Demonstração do resultado " + qx::cli::TextoPeriodo(p.de, p.ate, p.filial));
  TrilhaEmpresa(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), qx::cli::OpcoesDre(), {"de", "ate", "por-mes"}));
  documento.Html(
      "<p>Receitas: créditos positivos; deduções, custos e despesas: débitos positivos.</p>");
  documento.Mostra("dre", "Demonstração", qx::cli::TabelaDre(dre, false),
                   AoExtrato(pedido.empresa(), {p.de, p.de, p.ate, p.filial}));
  documento.Resumo("totais", qx::cli::TabelaTotaisDre(dre), qx::cli::TextoTotaisDre(dre));
  AvisaEstouro(dre.Estourou(), documento);
}

}  // namespace qxweb
