// The audit trail: who changed which entries, when, and from what to what,
// with the filters of qxcn historico. Without a month or a batch it reads at
// most kMaisDias days of events, the last kDiasPadrao when no moment is
// given; a page holds the latest kMaisEventos events, newest first unless
// ordem=antigos, and "mais antigos" goes on before them.
#include <algorithm>
#include <string>
#include <vector>

#include "common/falhas.h"
#include "common/filtro_historico.h"
#include "common/historico.h"
#include "formulario.h"
#include "html.h"
#include "paginas.h"

namespace qxweb {
namespace {

constexpr uint32_t kDiasPadrao = 7;
constexpr uint32_t kMaisDias = 31;
constexpr size_t kMaisEventos = 1000;

}  // namespace

std::vector<Opcao> OpcoesHistorico() {
  std::vector<Opcao> opcoes = qx::cli::OpcoesFiltroHistorico(true);
  opcoes.push_back({"antes", "N", "só os eventos anteriores a este"});
  opcoes.push_back({"ordem", "recentes|antigos", "os mais recentes primeiro (por omissão) ou os "
                                                 "mais antigos", false, "recentes antigos"});
  return opcoes;
}

void PaginaHistorico(Pedido& pedido, Documento& documento) {
  const Argumentos& a = pedido.argumentos();
  qx::FiltroEventos filtro = qx::cli::LeFiltroHistorico(a);
  const bool semLimite = filtro.mes == 0 && filtro.lote == 0 && !a.Valor("de");
  if (semLimite) {
    filtro.de = CQXData(CQXData::Today().Value() - kDiasPadrao).Text(5, '-') + " 00:00:00.000";
  }
  if (filtro.mes == 0 && filtro.lote == 0) {
    // Moments as the log keeps them begin with the ISO date.
    const CQXData de = a.LeData(filtro.de.substr(0, 10), "de");
    const CQXData ate =
        filtro.ate.empty() ? CQXData::Today() : a.LeData(filtro.ate.substr(0, 10), "ate");
    if (ate.Value() >= de.Value() + kMaisDias) {
      throw qx::cli::ErroUso{"sem mês nem lote, o histórico mostra até " +
                             std::to_string(kMaisDias) + " dias de cada vez: restrinja de e ate"};
    }
  }
  filtro.antesDe = a.Inteiro("antes", 1, INT64_MAX).value_or(0);
  std::vector<qx::EventoHistorico> eventos =
      qx::cli::LeHistoricoDaEmpresa(pedido.empresa(), filtro);
  const bool mais = eventos.size() > kMaisEventos;
  if (mais) eventos.erase(eventos.begin(), eventos.end() - kMaisEventos);
  const std::string ordem = a.Valor("ordem").value_or("recentes");
  if (ordem != "recentes" && ordem != "antigos") throw qx::cli::ErroUso{"ordem: recentes ou antigos"};
  const int64_t maisAntigo = eventos.empty() ? 0 : eventos.front().id;
  if (ordem == "recentes") std::reverse(eventos.begin(), eventos.end());

  documento.Titulo("Histórico dos lançamentos");
  TrilhaEmpresa(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), OpcoesHistorico(),
                            {"de", "ate", "mes", "pos", "tipo", "usuario", "lote", "ordem"}));
  if (semLimite) {
    documento.Html("<p>Sem data, mês ou lote: os últimos " + std::to_string(kDiasPadrao) +
                   " dias.</p>");
  }
  documento.Mostra("historico", "Alterações",
                   qx::cli::TabelaHistorico(eventos, pedido.ParaPessoas()),
                   LigacaoAoLancamento(pedido.empresa(), 4));
  if (mais) {
    documento.Html("<p>" +
                   Link(pedido.endereco().Com("antes", std::to_string(maisAntigo)).Texto(),
                        "‹ mais antigos") +
                   "</p>");
  }
}

}  // namespace qxweb
