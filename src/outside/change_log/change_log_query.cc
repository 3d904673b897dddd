#include "outside/change_log/change_log_query.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "outside/change_log/change_log_store.h"
#include "outside/database/sql_statement.h"

namespace qx {
namespace {

// How a query reaches its events: the index of the most selective part of
// the filter, the rest tested on the index's rows (on SQLite, which is told
// the index; PostgreSQL's planner finds it). Parameters: ?1 month, ?2
// position, ?3 user, ?4 session, ?5 batch, ?6 and ?7 the moments, ?8 to ?13
// the kinds, ?14 the event before which.
constexpr char kColunasEvento[] =
    "e.id, e.tipo, e.sessao, e.usuario, e.mes, e.posicao, coalesce(e.lote, 0), e.gravado_em, "
    "coalesce(e.conferido_antes, 0), coalesce(e.conferido, 0), coalesce(e.anterior, 0), "
    "coalesce(e.ultimo, 0), e.imagem_antes, e.imagem_depois, e.complemento, e.linhas, "
    "e.quantidades, coalesce(e.primeira_linha, 0), e.valor_moeda, coalesce(e.descricao, '')";
constexpr char kCondicoes[] =
    " (?1 = 0 OR e.mes = ?1) AND (?2 = 0 OR e.posicao = ?2) AND "
    "(?3 IS NULL OR e.usuario = ?3) AND (?4 IS NULL OR e.sessao = ?4) AND "
    "(?5 = 0 OR e.lote = ?5) AND e.gravado_em >= ?6 AND e.gravado_em <= ?7 AND "
    "e.tipo IN (?8, ?9, ?10, ?11, ?12, ?13) AND (?14 = 0 OR e.id < ?14)";

// The ways in: the index and the part of the filter it answers.
struct Acesso {
  const char* indice;
  const char* condicao;
};
constexpr Acesso kAcessos[] = {
    {" INDEXED BY log_eventos_lancamento", " e.mes = ?1 AND e.posicao = ?2 AND"},
    {" INDEXED BY log_eventos_lancamento", " e.mes = ?1 AND"},
    {" INDEXED BY log_eventos_lote", " e.lote = ?5 AND"},
    {" INDEXED BY log_eventos_sessao", " e.sessao = ?4 AND"},
    {" INDEXED BY log_eventos_momento",
     " e.tipo IN (?8, ?9, ?10, ?11, ?12, ?13) AND e.gravado_em >= ?6 AND e.gravado_em <= ?7 AND"},
    {" INDEXED BY log_eventos_usuario", " e.usuario = ?3 AND"},
    {"", ""},
};
constexpr size_t kQuantidadeAcessos = std::size(kAcessos);

size_t Escolhe(const FiltroEventos& f) {
  if (f.mes != 0) return f.posicao != 0 ? 0 : 1;
  if (f.lote != 0) return 2;
  if (f.sessao) return 3;
  if (!f.de.empty() || !f.ate.empty() || !f.tipos.empty()) return 4;
  return f.usuario ? 5 : 6;
}

// The texts of the questions, made once.
struct Consultas {
  std::string eventos[kQuantidadeAcessos];
  std::string porIds;     // the events of a JSON list of ids
  std::string registros;  // the records of a JSON list of [first, last] ids, by its index
};

// The lists travel as one JSON text, which each backend reads its own way.
Consultas Monta(bool postgres) {
  Consultas c;
  for (size_t k = 0; k < kQuantidadeAcessos; ++k) {
    const Acesso& a = kAcessos[k];
    c.eventos[k] = std::string("SELECT ") + kColunasEvento + " FROM log_eventos e" + a.indice +
                   " WHERE" + a.condicao + kCondicoes;
  }
  c.porIds = std::string("SELECT ") + kColunasEvento +
             (postgres ? " FROM json_array_elements_text(?::json) j (value)"
                         " JOIN log_eventos e ON e.id = j.value::bigint"
                       : " FROM json_each(?) j JOIN log_eventos e ON e.id = j.value");
  c.registros = (postgres ? "SELECT j.key - 1, " : "SELECT j.key, ") +
                std::string(kColunasRegistro) +
                (postgres ? " FROM json_array_elements(?::json) WITH ORDINALITY j (value, key)"
                            " JOIN log_alteracoes r ON r.id BETWEEN (j.value ->> 0)::bigint"
                            " AND (j.value ->> 1)::bigint ORDER BY r.id"
                          : " FROM json_each(?) j JOIN log_alteracoes r"
                            " ON r.id BETWEEN j.value ->> 0 AND j.value ->> 1");
  return c;
}

const Consultas& Textos(const SuiteDatabase& db) {
  static const Consultas sqlite = Monta(false);
  static const Consultas postgres = Monta(true);
  return db.backend() == SuiteDatabase::Backend::kPostgres ? postgres : sqlite;
}

void Liga(SqlStatement& query, const FiltroEventos& f) {
  const std::string tipos = f.tipos.empty() ? kTiposEvento : f.tipos;
  query.Bind(1, f.mes).Bind(2, f.posicao).Bind(3, f.usuario).Bind(4, f.sessao).Bind(5, f.lote);
  // Every moment the log writes lies between "" and "~".
  query.BindText(6, f.de).BindText(7, f.ate.empty() ? "~" : f.ate);
  constexpr size_t kTipos = std::size(kTiposEvento) - 1;
  static_assert(kTipos == 6, "the filter names each kind");
  for (size_t k = 0; k < kTipos; ++k) {
    query.BindText(8 + static_cast<int>(k),
                   std::string(1, tipos[std::min<size_t>(k, tipos.size() - 1)]));
  }
  query.Bind(8 + static_cast<int>(kTipos), f.antesDe);
}

EventoLog LeEvento(const SqlStatement& linha) {
  EventoLog e;
  e.id = linha.Int(0);
  const std::string tipo = linha.Text(1);
  e.tipo = tipo.empty() ? '\0' : tipo[0];
  e.sessao = static_cast<uint32_t>(linha.Int(2));
  if (const auto usuario = linha.OptionalInt(3)) e.usuario = static_cast<uint16_t>(*usuario);
  e.mes = static_cast<uint16_t>(linha.Int(4));
  e.posicao = static_cast<int32_t>(linha.Int(5));
  e.lote = static_cast<uint32_t>(linha.Int(6));
  e.gravadoEm = linha.Text(7);
  e.conferidoAntes = static_cast<uint8_t>(linha.Int(8));
  e.conferido = static_cast<uint8_t>(linha.Int(9));
  e.anterior = linha.Int(10);
  e.ultimo = linha.Int(11);
  ResumoEvento& r = e.resumo;
  r.imagemAntes = linha.Blob(12);
  r.imagemDepois = linha.Blob(13);
  r.complemento = linha.Blob(14);
  r.linhas = linha.Blob(15);
  r.quantidades = linha.Blob(16);
  r.primeiraLinha = static_cast<int32_t>(linha.Int(17));
  r.valorMoeda = linha.OptionalInt(18);
  e.descricao = linha.Text(19);
  return e;
}

bool PorOrdem(const EventoLog& a, const EventoLog& b) { return a.id < b.id; }

HRESULT LeLinhas(SqlStatement& query, std::vector<EventoLog>* eventos) {
  bool row = false;
  HRESULT hr;
  while (SUCCEEDED(hr = query.Step(&row)) && row) eventos->push_back(LeEvento(query));
  return hr;
}

}  // namespace

bool Admite(const FiltroEventos& f, const EventoLog& e) {
  return (f.mes == 0 || e.mes == f.mes) && (f.posicao == 0 || e.posicao == f.posicao) &&
         (!f.usuario || e.usuario == f.usuario) && (!f.sessao || e.sessao == *f.sessao) &&
         (f.tipos.empty() || f.tipos.find(e.tipo) != std::string::npos) &&
         (f.lote == 0 || e.lote == f.lote) && (f.de.empty() || e.gravadoEm >= f.de) &&
         (f.ate.empty() || e.gravadoEm <= f.ate) && (f.antesDe == 0 || e.id < f.antesDe);
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
    if (SUCCEEDED(falha)) falha = ProcuraAnterior(db_, eventos, &evento);
    eventos.push_back(std::move(evento));
  });
  // As the filing does, from the last event filed on.
  const int64_t desde = marcas.ultimoEvento > 0 ? marcas.ultimoEvento : marcas.indexadoAte + 1;
  hr = qx::LeRegistros(db_, desde, INT64_MAX, [&](RegistroLog&& registro) {
    grupos.Recebe(std::move(registro));
    return SUCCEEDED(falha);
  });
  if (SUCCEEDED(hr)) grupos.Termina();
  if (FAILED(hr) || FAILED(falha)) return FAILED(hr) ? hr : falha;
  esperando_ = std::move(eventos);
  return S_OK;
}

HRESULT ConsultaLog::ListaEventos(const FiltroEventos& filtro, std::vector<EventoLog>* eventos) {
  eventos->clear();
  if (!esperando_) {
    if (const HRESULT hr = AgrupaEsperando(); FAILED(hr)) return hr;
  }
  {
    SqlStatement query(db_, Textos(db_).eventos[Escolhe(filtro)].c_str());
    Liga(query, filtro);
    if (const HRESULT hr = LeLinhas(query, eventos); FAILED(hr)) return hr;
  }
  for (const EventoLog& evento : *esperando_) {
    if (Admite(filtro, evento)) eventos->push_back(evento);
  }
  std::sort(eventos->begin(), eventos->end(), PorOrdem);
  return S_OK;
}

HRESULT ConsultaLog::LeEventos(const std::vector<int64_t>& ids, std::vector<EventoLog>* eventos) {
  eventos->clear();
  if (!esperando_) {
    if (const HRESULT hr = AgrupaEsperando(); FAILED(hr)) return hr;
  }
  if (ids.empty()) return S_OK;
  std::string lista = "[";
  for (const int64_t id : ids) lista += (lista.size() > 1 ? "," : "") + std::to_string(id);
  {
    SqlStatement query(db_, Textos(db_).porIds.c_str());
    query.BindText(1, lista + "]");
    if (const HRESULT hr = LeLinhas(query, eventos); FAILED(hr)) return hr;
  }
  for (const EventoLog& evento : *esperando_) {
    if (std::find(ids.begin(), ids.end(), evento.id) != ids.end()) eventos->push_back(evento);
  }
  std::sort(eventos->begin(), eventos->end(), PorOrdem);
  return S_OK;
}

HRESULT ConsultaLog::Meses(std::set<uint16_t>* meses) {
  meses->clear();
  if (!esperando_) {
    if (const HRESULT hr = AgrupaEsperando(); FAILED(hr)) return hr;
  }
  {
    SqlStatement query(db_, "SELECT DISTINCT mes FROM log_eventos WHERE tipo IN ('I', 'A', 'E')");
    bool row = false;
    HRESULT hr;
    while (SUCCEEDED(hr = query.Step(&row)) && row) meses->insert(static_cast<uint16_t>(query.Int(0)));
    if (FAILED(hr)) return hr;
  }
  for (const EventoLog& evento : *esperando_) {
    if (evento.tipo != kEventoConferido && evento.tipo != kEventoRecuperacao) meses->insert(evento.mes);
  }
  meses->erase(0);
  return S_OK;
}

HRESULT ConsultaLog::LeRegistros(std::vector<EventoLog>* eventos) {
  // Each event's are the records from its id to its last; the events not
  // filed have theirs already.
  std::string faixas = "[";
  std::vector<EventoLog*> com;
  for (EventoLog& e : *eventos) {
    if (e.ultimo == 0 || !e.registros.empty()) continue;
    faixas +=
        (com.empty() ? "[" : ",[") + std::to_string(e.id) + "," + std::to_string(e.ultimo) + "]";
    com.push_back(&e);
  }
  if (com.empty()) return S_OK;
  SqlStatement query(db_, Textos(db_).registros.c_str());
  query.BindText(1, faixas + "]");
  bool row = false;
  HRESULT hr;
  while (SUCCEEDED(hr = query.Step(&row)) && row) {
    com[static_cast<size_t>(query.Int(0))]->registros.push_back(LeRegistro(query, 1));
  }
  return hr;
}

}  // namespace qx
