// A month's entries, page by page, or the entries that pass the filters of
// qxcn busca between two dates, page by page.
#include <algorithm>
#include <string>
#include <vector>

#include "common/falhas.h"
#include "common/filtro_busca.h"
#include "common/lancamentos.h"
#include "formulario.h"
#include "html.h"
#include "paginas.h"
#include "reports/falha.h"
#include "reports/pagina_mes.h"
#include "values/br_text.h"
#include "values/calendar.h"

namespace qxweb {
namespace {

struct Pagina {
  int64_t numero = 1;
  int64_t tamanho = kPaginaPadrao;
  int64_t quantidade = 0;  // of entries (or, for a month, of positions)
  std::vector<qx::LancamentoLido> lancamentos;

  int64_t Primeira() const { return (numero - 1) * tamanho + 1; }
  int64_t Paginas() const { return std::max<int64_t>((quantidade + tamanho - 1) / tamanho, 1); }
};

CQXData UltimoDia(CQXMesAno mes) {
  return CQXData::Make(qx::DaysInMonth(mes.Month(), mes.Year()), mes.Month(), mes.Year());
}

// Whether any option of the search's filter was given.
bool Filtrado(const Argumentos& a) {
  for (const Opcao& opcao : qx::cli::OpcoesFiltro()) {
    if (a.Marca(opcao.nome) || a.Valor(opcao.nome)) return true;
  }
  return false;
}

// The keys of the search's page, read from the first key on: the service
// hands its keys out from the first.
void LeBusca(qx::SessaoLancamento& servico, const Argumentos& a, CQXData de, CQXData ate,
             Pagina* pagina) {
  qx::cli::AplicaFiltro(a, servico);
  int32_t quantidade = 0;
  qx::Verifica(servico->BuscaQtdLancamentos(de.Value(), ate.Value(), &quantidade),
               "BuscaQtdLancamentos");
  pagina->quantidade = quantidade;
  const int64_t ate_ = std::min<int64_t>(quantidade, pagina->numero * pagina->tamanho);
  const std::vector<int32_t> chaves =
      qx::ChavesDaBusca(servico, static_cast<int32_t>(std::max<int64_t>(ate_, 0)));
  const auto inicio = std::min<size_t>(chaves.size(), static_cast<size_t>(pagina->Primeira() - 1));
  pagina->lancamentos =
      qx::LeChaves(servico, de.MesAno(), std::vector<int32_t>(chaves.begin() + static_cast<long>(inicio), chaves.end()));
}

std::string Navegacao(const Endereco& endereco, const Pagina& pagina) {
  std::string html = "<p class=\"paginas\">";
  if (pagina.numero > 1) {
    html += Link(endereco.Com("pagina", std::to_string(pagina.numero - 1)).Texto(), "‹ anterior") +
            " · ";
  }
  html += "página " + std::to_string(pagina.numero) + " de " + std::to_string(pagina.Paginas());
  if (pagina.numero < pagina.Paginas()) {
    html += " · " +
            Link(endereco.Com("pagina", std::to_string(pagina.numero + 1)).Texto(), "próxima ›");
  }
  return html + "</p>";
}

}  // namespace

std::vector<Opcao> OpcoesLancamentos() {
  std::vector<Opcao> opcoes = {
      {"mes", "MM/AAAA", "o mês"},
      {"de", "DD/MM/AAAA", "de"},
      {"ate", "DD/MM/AAAA", "até"},
      {"pagina", "N", "a página"},
      {"tamanho", "N", "lançamentos por página (até " + std::to_string(kMaiorPagina) + ")"},
  };
  for (Opcao& opcao : qx::cli::OpcoesFiltro()) opcoes.push_back(std::move(opcao));
  return opcoes;
}

void PaginaLancamentos(Pedido& pedido, Documento& documento) {
  const Argumentos& a = pedido.argumentos();
  const std::optional<CQXMesAno> mes = a.MesAno("mes");
  const int ano = CQXMesAno::Current().Year();
  const CQXData de = a.Data("de").value_or(mes ? CQXData::FromMesAno(*mes, 1)
                                                : CQXData::Make(1, 1, ano));
  const CQXData ate =
      a.Data("ate").value_or(mes ? UltimoDia(*mes) : CQXData::Make(31, 12, ano));
  if (ate < de) throw qx::cli::ErroUso{"ate: antes de de"};
  const int meses = (ate.Year() - de.Year()) * 12 + ate.Month() - de.Month() + 1;
  if (meses > kMaisMeses) {
    throw qx::cli::ErroUso{"de " + qx::DateText(de) + " a " + qx::DateText(ate) + " são " +
                           std::to_string(meses) + " meses; procure em até " +
                           std::to_string(kMaisMeses) + " de cada vez"};
  }
  Pagina pagina;
  pagina.numero = a.Inteiro("pagina", 1, INT32_MAX).value_or(1);
  pagina.tamanho = a.Inteiro("tamanho", 1, kMaiorPagina).value_or(kPaginaPadrao);
  qx::SessaoLancamento& servico = pedido.Servico();
  const bool doMes = mes && !Filtrado(a) && !a.Valor("de") && !a.Valor("ate");
  if (doMes) {
    // Every position of the month, deleted entries too, without a search.
    qx::PaginaDoMes lida = qx::LePaginaDoMes(servico, *mes, static_cast<int32_t>(pagina.Primeira()),
                                             static_cast<int32_t>(pagina.tamanho));
    pagina.quantidade = lida.ultima;
    pagina.lancamentos = std::move(lida.lancamentos);
  } else {
    LeBusca(servico, a, de, ate, &pagina);
  }

  Tabela tabela(qx::cli::ColunasLancamento());
  for (const qx::LancamentoLido& l : pagina.lancamentos) tabela.Linha(qx::cli::CelulasLancamento(l));
  documento.Titulo(doMes ? "Lançamentos de " + qx::MesAnoText(*mes)
                         : "Lançamentos de " + qx::DateText(de) + " a " + qx::DateText(ate));
  TrilhaEmpresa(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), OpcoesLancamentos(),
                            {"de", "ate", "conta", "contem", "origem", "conferidos",
                             "nao-conferidos", "filial", "lote"},
                            {"mes"}));
  Tabela resumo({"pagina", "paginas", "tamanho", "quantidade"});
  resumo.Linha({pagina.numero, pagina.Paginas(), pagina.tamanho, pagina.quantidade});
  documento.Resumo("pagina", std::move(resumo),
                   std::to_string(pagina.quantidade) +
                       (doMes ? " posição(ões) no mês" : " lançamento(s) passam no filtro"));
  documento.Html(Navegacao(pedido.endereco(), pagina));
  const std::string empresa = pedido.empresa();
  documento.Mostra("lancamentos", "Lançamentos", std::move(tabela),
                   [empresa](const std::vector<Celula>& linha, size_t coluna) {
                     if (coluna != 1) return std::string();
                     return EnderecoLancamento(empresa, CQXMesAno(static_cast<uint32_t>(
                                                            linha[0].numero())),
                                               static_cast<int32_t>(linha[1].numero()));
                   });
  documento.Html(Navegacao(pedido.endereco(), pagina));
}

}  // namespace qxweb
