#include "outside/change_log_query.h"

#include <algorithm>
#include <string>

#include "outside/change_log_store.h"
#include "outside/sql_statement.h"

namespace qx {
namespace {

// How a query reaches its events: the index of the most selective part of
// the filter, the rest tested on the index's rows. Parameters: ?1 month,
// ?2 position, ?3 user, ?4 session, ?5 batch, ?6 and ?7 the moments, ?8 the
// kinds as one text and ?9 to ?12 one by one, ?13 the event before which.
constexpr char kColunas[] =
    "SELECT id, tipo, sessao, usuario, mes, posicao, coalesce(lote, 0), gravado_em, "
    "coalesce(conferido_antes, 0), coalesce(conferido, 0) FROM log_eventos ";
constexpr char kResto[] =
    " (?1 = 0 OR mes = ?1) AND (?2 = 0 OR posicao = ?2) AND (?3 IS NULL OR usuario = ?3) AND "
    "(?4 IS NULL OR sessao = ?4) AND (?5 = 0 OR lote = ?5) AND gravado_em >= ?6 AND "
    "gravado_em <= ?7 AND instr(?8, tipo) > 0 AND (?13 = 0 OR id < ?13) ORDER BY id";

const char* Acesso(const FiltroEventos& f) {
  if (f.mes != 0 && f.posicao != 0) {
    return "INDEXED BY log_eventos_lancamento WHERE mes = ?1 AND posicao = ?2 AND";
  }
  if (f.mes != 0) return "INDEXED BY log_eventos_lancamento WHERE mes = ?1 AND";
  if (f.lote != 0) return "INDEXED BY log_eventos_lote WHERE lote = ?5 AND";
  if (f.sessao) return "INDEXED BY log_eventos_sessao WHERE sessao = ?4 AND";
  if (!f.de.empty() || !f.ate.empty() || !f.tipos.empty()) {
    return "INDEXED BY log_eventos_momento WHERE tipo IN (?9, ?10, ?11, ?12) AND "
           "gravado_em >= ?6 AND gravado_em <= ?7 AND";
  }
  if (f.usuario) return "INDEXED BY log_eventos_usuario WHERE usuario = ?3 AND";
  return "WHERE";
}

}  // namespace

HRESULT ConsultaLog::ListaIndexados(const FiltroEventos& f, std::vector<EventoLog>* eventos) {
  const std::string sql = std::string(kColunas) + Acesso(f) + kResto;
  SqlStatement query(db_, sql.c_str());
  const std::string tipos = f.tipos.empty() ? kTiposEvento : f.tipos;
  query.Bind(1, f.mes).Bind(2, f.posicao).Bind(3, f.usuario).Bind(4, f.sessao).Bind(5, f.lote);
  // Every moment the log writes lies between "" and "~".
  query.BindText(6, f.de).BindText(7, f.ate.empty() ? "~" : f.ate).BindText(8, tipos);
  for (int k = 0; k < 4; ++k) {
    query.BindText(9 + k, std::string(1, tipos[std::min<size_t>(k, tipos.size() - 1)]));
  }
  query.Bind(13, f.antesDe);
  bool row = false;
  HRESULT hr;
  while (SUCCEEDED(hr = query.Step(&row)) && row) {
    EventoLog& e = eventos->emplace_back();
    e.id = query.Int(0);
    const std::string tipo = query.Text(1);
    e.tipo = tipo.empty() ? '\0' : tipo[0];
    e.sessao = static_cast<uint32_t>(query.Int(2));
    if (const auto usuario = query.OptionalInt(3)) e.usuario = static_cast<uint16_t>(*usuario);
    e.mes = static_cast<uint16_t>(query.Int(4));
    e.posicao = static_cast<int32_t>(query.Int(5));
    e.lote = static_cast<uint32_t>(query.Int(6));
    e.gravadoEm = query.Text(7);
    e.conferidoAntes = static_cast<uint8_t>(query.Int(8));
    e.conferido = static_cast<uint8_t>(query.Int(9));
  }
  return hr;
}

HRESULT ConsultaLog::AgrupaEsperando() {
  MarcasLog marcas;
  HRESULT hr = LeMarcasLog(db_, &marcas);
  if (FAILED(hr)) return hr;
  std::vector<EventoLog> eventos;
  HRESULT falha = S_OK;
  AgrupaEventos grupos([&](EventoLog&& evento) {
    if (evento.id <= marcas.indexadoAte || FAILED(falha)) return;
    falha = CompletaUsuario(db_, &evento);
    evento.registros.clear();
    eventos.push_back(std::move(evento));
  });
  // As the filing does, from the last event filed on.
  const int64_t desde = marcas.ultimoEvento > 0 ? marcas.ultimoEvento : marcas.indexadoAte + 1;
  hr = LeRegistrosDesde(db_, desde, [&](RegistroLog&& registro) {
    grupos.Recebe(std::move(registro));
    return SUCCEEDED(falha);
  });
  if (SUCCEEDED(hr)) grupos.Termina();
  if (FAILED(hr) || FAILED(falha)) return FAILED(hr) ? hr : falha;
  esperando_ = std::move(eventos);
  return S_OK;
}

bool Admite(const FiltroEventos& f, const EventoLog& e) {
  return (f.mes == 0 || e.mes == f.mes) && (f.posicao == 0 || e.posicao == f.posicao) &&
         (!f.usuario || e.usuario == f.usuario) && (!f.sessao || e.sessao == *f.sessao) &&
         (f.tipos.empty() || f.tipos.find(e.tipo) != std::string::npos) &&
         (f.lote == 0 || e.lote == f.lote) && (f.de.empty() || e.gravadoEm >= f.de) &&
         (f.ate.empty() || e.gravadoEm <= f.ate) && (f.antesDe == 0 || e.id < f.antesDe);
}

HRESULT ConsultaLog::ListaEventos(const FiltroEventos& filtro, std::vector<EventoLog>* eventos) {
  eventos->clear();
  if (!esperando_) {
    if (const HRESULT hr = AgrupaEsperando(); FAILED(hr)) return hr;
  }
  if (const HRESULT hr = ListaIndexados(filtro, eventos); FAILED(hr)) return hr;
  for (const EventoLog& evento : *esperando_) {
    if (Admite(filtro, evento)) eventos->push_back(evento);
  }
  // Checks are filed at once, so they may come after records still waiting.
  std::stable_sort(eventos->begin(), eventos->end(),
                   [](const EventoLog& a, const EventoLog& b) { return a.id < b.id; });
  return S_OK;
}

HRESULT ConsultaLog::LeRegistros(EventoLog* evento) {
  evento->registros.clear();
  if (evento->tipo == kEventoConferido) return S_OK;
  bool pronto = false;
  AgrupaEventos grupos([&](EventoLog&& lido) {
    pronto = true;
    if (lido.id == evento->id) evento->registros = std::move(lido.registros);
  });
  const HRESULT hr = LeRegistrosDesde(db_, evento->id, [&](RegistroLog&& registro) {
    grupos.Recebe(std::move(registro));
    return !pronto;
  });
  if (SUCCEEDED(hr) && !pronto) grupos.Termina();
  return hr;
}

}  // namespace qx
