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
#include "paginacao.h"
#include "paginas.h"
#include "reports/falha.h"
#include "reports/pagina_mes.h"
#include "values/br_text.h"
#include "values/calendar.h"

namespace qxweb {
namespace {

// The entries of one page.
struct Lidos {
  Pagina pagina;
  std::vector<qx::LancamentoLido> lancamentos;
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
             Lidos* lidos) {
  Pagina* pagina = &lidos->pagina;
  qx::cli::AplicaFiltro(a, servico);
  int32_t quantidade = 0;
  qx::Verifica(servico->BuscaQtdLancamentos(de.Value(), ate.Value(), &quantidade),
               "BuscaQtdLancamentos");
  pagina->quantidade = quantidade;
  const int64_t ate_ = std::min<int64_t>(quantidade, pagina->numero * pagina->tamanho);
  const std::vector<int32_t> chaves =
      qx::ChavesDaBusca(servico, static_cast<int32_t>(std::max<int64_t>(ate_, 0)));
  const auto inicio = std::min<size_t>(chaves.size(), static_cast<size_t>(pagina->Primeira() - 1));
  lidos->lancamentos =
      qx::LeChaves(servico, de.MesAno(), std::vector<int32_t>(chaves.begin() + static_cast<long>(inicio), chaves.end()));
}

}  // namespace

std::vector<Opcao> OpcoesLancamentos() {
  std::vector<Opcao> opcoes = {
      {"mes", "MM/AAAA", "o mês"},
      {"de", "DD/MM/AAAA", "de"},
      {"ate", "DD/MM/AAAA", "até"},
  };
  for (Opcao& opcao : OpcoesPagina()) opcoes.push_back(std::move(opcao));
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
  LimitaMeses(de, ate);
  Lidos lidos{LePagina(a), {}};
  Pagina& pagina = lidos.pagina;
  qx::SessaoLancamento& servico = pedido.Servico();
  const bool doMes = mes && !Filtrado(a) && !a.Valor("de") && !a.Valor("ate");
  if (doMes) {
    // Every position of the month, deleted entries too, without a search.
    qx::PaginaDoMes lida = qx::LePaginaDoMes(servico, *mes, static_cast<int32_t>(pagina.Primeira()),
                                             static_cast<int32_t>(pagina.tamanho));
    pagina.quantidade = lida.ultima;
    lidos.lancamentos = std::move(lida.lancamentos);
  } else {
    LeBusca(servico, a, de, ate, &lidos);
  }

  Tabela tabela(qx::cli::ColunasLancamento());
  for (const qx::LancamentoLido& l : lidos.lancamentos) tabela.Linha(qx::cli::CelulasLancamento(l));
  documento.Titulo(doMes ? "Lançamentos de " + qx::MesAnoText(*mes)
                         : "Lançamentos de " + qx::DateText(de) + " a " + qx::DateText(ate));
  TrilhaEmpresa(pedido, documento);
  NomeiaContas(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), OpcoesLancamentos(),
                            {"de", "ate", "conta", "contem", "origem", "conferidos",
                             "nao-conferidos", "filial", "lote"},
                            {"mes"}));
  documento.Resumo("pagina", TabelaPagina(pagina),
                   std::to_string(pagina.quantidade) +
                       (doMes ? " posição(ões) no mês" : " lançamento(s) passam no filtro"));
  documento.Html(Navegacao(pedido.endereco(), pagina));
  documento.Mostra("lancamentos", "Lançamentos", std::move(tabela),
                   LigacaoAoLancamento(pedido.empresa(), 0));
  documento.Html(Navegacao(pedido.endereco(), pagina));
}

}  // namespace qxweb
