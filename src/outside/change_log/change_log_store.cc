#include "outside/change_log/change_log_store.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "values/text_format.h"

namespace qx {
namespace {

// SQLite: the id after the largest the log gave, which the next record
// takes; a place reserved keeps it as maior_id, so that no record takes it.
constexpr char kProximoSqlite[] =
    "SELECT CASE WHEN maior_id > m THEN maior_id ELSE m END + 1 FROM log_controle, "
    "(SELECT coalesce(max(id), 0) AS m FROM log_alteracoes)";
const std::string kReservaSqlite =
    std::string("UPDATE log_controle SET maior_id = (") + kProximoSqlite + ") RETURNING maior_id";
constexpr char kReservaPostgres[] =
    "UPDATE log_controle SET maior_id = nextval(pg_get_serial_sequence('log_alteracoes', "
    "'id')) RETURNING maior_id";

std::optional<int64_t> Lote(const EventoLog& e) {
  return e.lote != 0 ? std::optional<int64_t>(e.lote) : std::nullopt;
}

HRESULT SemControle(SuiteDatabase& db) {
  return db.Fail(E_QXDF_BANCO_INVALIDO,
                 FormatText("O banco de dados \"%s\" n\xE3o tem o controle do log de "
                            "altera\xE7\xF5"
                            "es.",
                            db.path().c_str()));
}

// Binds the summary of an event to seven parameters from `primeiro` on.
void LigaResumo(SqlStatement& s, int primeiro, const ResumoEvento& r) {
  const auto blob = [&](int k, const std::string& bytes) {
    if (bytes.empty()) {
      s.BindNull(k, SqlType::kBlob);
    } else {
      s.BindBlob(k, bytes.data(), bytes.size());
    }
  };
  blob(primeiro, r.imagemAntes);
  blob(primeiro + 1, r.imagemDepois);
  blob(primeiro + 2, r.complemento);
  blob(primeiro + 3, r.linhas);
  blob(primeiro + 4, r.quantidades);
  s.Bind(primeiro + 5, r.primeiraLinha).Bind(primeiro + 6, r.valorMoeda);
}

// Binds an event to nineteen parameters from `primeiro` on.
void LigaEvento(SqlStatement& s, int primeiro, const EventoLog& e) {
  const bool conferencia = e.tipo == kEventoConferido;
  const auto marca = [&](uint8_t valor) {
    return conferencia ? std::optional<int64_t>(valor) : std::nullopt;
  };
  const auto opcional = [](int64_t valor) {
    return valor != 0 ? std::optional<int64_t>(valor) : std::nullopt;
  };
  s.Bind(primeiro, e.id)
      .Bind(primeiro + 1, opcional(e.ultimo))
      .Bind(primeiro + 2, opcional(e.anterior));
  s.BindText(primeiro + 3, std::string_view(&e.tipo, 1)).Bind(primeiro + 4, e.sessao);
  s.Bind(primeiro + 5, e.usuario).Bind(primeiro + 6, e.mes).Bind(primeiro + 7, e.posicao);
  s.Bind(primeiro + 8, Lote(e)).BindText(primeiro + 9, e.gravadoEm);
  s.Bind(primeiro + 10, marca(e.conferidoAntes)).Bind(primeiro + 11, marca(e.conferido));
  LigaResumo(s, primeiro + 12, e.resumo);
}

HRESULT InsereEventos(SuiteDatabase& db, const std::vector<EventoLog>& eventos) {
  // Only a recovery has a text: the events filed while an older schema is
  // brought up to date have no column for it yet.
  const bool comTexto = std::any_of(eventos.begin(), eventos.end(),
                                    [](const EventoLog& e) { return !e.descricao.empty(); });
  const std::string colunas =
      std::string("INSERT INTO log_eventos (id, ultimo, anterior, tipo, sessao, usuario, mes, "
                  "posicao, lote, gravado_em, conferido_antes, conferido, imagem_antes, "
                  "imagem_depois, complemento, linhas, quantidades, primeira_linha, valor_moeda") +
      (comTexto ? ", descricao)" : ")");
  return AppendRows(db, colunas.c_str(), comTexto ? 20 : 19, eventos.size(),
                    [&](SqlStatement& s, int primeiro, size_t k) {
                      LigaEvento(s, primeiro, eventos[k]);
                      if (comTexto) s.BindText(primeiro + 19, eventos[k].descricao);
                    });
}

// The event filed last, read again with the records written after it.
HRESULT EstendeEvento(SuiteDatabase& db, const EventoLog& e) {
  SqlStatement update(db,
                      "UPDATE log_eventos SET ultimo = ?, lote = ?, imagem_antes = ?, "
                      "imagem_depois = ?, complemento = ?, linhas = ?, quantidades = ?, "
                      "primeira_linha = ?, valor_moeda = ? WHERE id = ?");
  update.Bind(1, e.ultimo).Bind(2, Lote(e));
  LigaResumo(update, 3, e.resumo);
  update.Bind(10, e.id);
  return update.Run();
}

}  // namespace

HRESULT LeMarcasLog(SuiteDatabase& db, MarcasLog* marcas) {
  return db.Read([&] {
    SqlStatement query(db, "SELECT indexado_ate, ultimo_evento FROM log_controle");
    const HRESULT hr = query.StepOne();
    if (hr != S_OK) return FAILED(hr) ? hr : SemControle(db);
    marcas->indexadoAte = query.Int(0);
    marcas->ultimoEvento = query.Int(1);
    return S_OK;
  });
}

RegistroLog LeRegistro(const SqlStatement& linha, int primeira) {
  RegistroLog r;
  r.id = linha.Int(primeira);
  r.sessao = static_cast<uint32_t>(linha.Int(primeira + 1));
  r.chave = static_cast<int32_t>(linha.Int(primeira + 2));
  r.tipo = static_cast<int32_t>(linha.Int(primeira + 3));
  const std::string servico = linha.Text(primeira + 4);
  r.servico = servico.empty() ? '\0' : servico[0];
  r.dados = linha.Blob(primeira + 5);
  r.gravadoEm = linha.Text(primeira + 6);
  if (const auto usuario = linha.OptionalInt(primeira + 7)) {
    r.usuario = static_cast<uint16_t>(*usuario);
  }
  r.valorMoeda = linha.OptionalInt(primeira + 8);
  r.quantidade = linha.OptionalInt(primeira + 9);
  return r;
}

HRESULT LeRegistros(SuiteDatabase& db, int64_t desde, int64_t ate,
                    const std::function<bool(RegistroLog&&)>& recebe) {
  return db.Read([&] {
    const std::string sql = std::string("SELECT ") + kColunasRegistro +
                            " FROM log_alteracoes r WHERE r.id BETWEEN ? AND ? ORDER BY r.id";
    SqlStatement query(db, sql.c_str());
    query.Bind(1, desde).Bind(2, ate);
    bool row = false;
    HRESULT hr;
    while (SUCCEEDED(hr = query.Step(&row)) && row && recebe(LeRegistro(query, 0))) {
    }
    return hr;
  });
}

HRESULT CompletaUsuario(SuiteDatabase& db, EventoLog* evento) {
  if (evento->usuario) return S_OK;
  SqlStatement query(db, "SELECT usuario FROM sessoes WHERE sessao = ?");
  query.Bind(1, evento->sessao);
  const HRESULT hr = query.StepOne();
  if (hr == S_OK) evento->usuario = static_cast<uint16_t>(query.Int(0));
  return FAILED(hr) ? hr : S_OK;
}

HRESULT ProcuraAnterior(SuiteDatabase& db, const std::vector<EventoLog>& recentes,
                        EventoLog* evento) {
  evento->anterior = 0;
  if (evento->mes == 0 || (evento->tipo != kEventoAlterado && evento->tipo != kEventoExcluido)) {
    return S_OK;
  }
  const auto salvo = [&](const EventoLog& e) {
    return e.mes == evento->mes && e.posicao == evento->posicao && e.id < evento->id &&
           (e.tipo == kEventoNovo || e.tipo == kEventoAlterado);
  };
  for (auto it = recentes.rbegin(); it != recentes.rend(); ++it) {
    if (salvo(*it)) {
      evento->anterior = it->id;
      return S_OK;
    }
  }
  SqlStatement query(db,
                     "SELECT id FROM log_eventos INDEXED BY log_eventos_lancamento WHERE mes = ? "
                     "AND posicao = ? AND id < ? AND tipo IN ('I', 'A') ORDER BY id DESC LIMIT 1");
  query.Bind(1, evento->mes).Bind(2, evento->posicao).Bind(3, evento->id);
  const HRESULT hr = query.StepOne();
  if (hr == S_OK) evento->anterior = query.Int(0);
  return FAILED(hr) ? hr : S_OK;
}

HRESULT IndexaEventos(SuiteDatabase& db, std::vector<RegistroLog> recentes) {
  return db.Write([&] {
    MarcasLog marcas;
    HRESULT hr = LeMarcasLog(db, &marcas);
    if (FAILED(hr)) return hr;
    // The last event filed is read again, so that the records after it are
    // grouped as they would have been had they come with it.
    const int64_t desde = marcas.ultimoEvento > 0 ? marcas.ultimoEvento : marcas.indexadoAte + 1;
    MarcasLog novas = marcas;
    HRESULT falha = S_OK;
    // The new events are filed together at the end; each looks for the save
    // before it among those first.
    std::vector<EventoLog> novos;
    AgrupaEventos grupos([&](EventoLog&& evento) {
      if (FAILED(falha) || evento.id < marcas.ultimoEvento) return;
      if (evento.id <= marcas.indexadoAte) {
        falha = EstendeEvento(db, evento);
        return;
      }
      falha = CompletaUsuario(db, &evento);
      if (SUCCEEDED(falha)) falha = ProcuraAnterior(db, novos, &evento);
      novas.ultimoEvento = evento.id;
      evento.registros.clear();
      novos.push_back(std::move(evento));
    });
    const auto recebe = [&](RegistroLog&& registro) {
      novas.indexadoAte = std::max(novas.indexadoAte, registro.id);
      grupos.Recebe(std::move(registro));
      return SUCCEEDED(falha);
    };
    const int64_t ate = recentes.empty() ? INT64_MAX : recentes.front().id - 1;
    hr = desde <= ate ? LeRegistros(db, desde, ate, recebe) : S_OK;
    for (auto it = recentes.begin(); SUCCEEDED(hr) && it != recentes.end() && recebe(std::move(*it));
         ++it) {
    }
    if (SUCCEEDED(hr)) grupos.Termina();
    if (SUCCEEDED(hr) && SUCCEEDED(falha)) falha = InsereEventos(db, novos);
    if (FAILED(hr) || FAILED(falha)) return FAILED(hr) ? hr : falha;
    SqlStatement update(db, "UPDATE log_controle SET indexado_ate = ?, ultimo_evento = ?");
    update.Bind(1, novas.indexadoAte).Bind(2, novas.ultimoEvento);
    return update.Run();
  });
}

HRESULT IndexaSeAtrasado(SuiteDatabase& db, std::vector<RegistroLog> gravados) {
  int64_t ultimo = 0, indexadoAte = 0;
  HRESULT hr;
  {
    SqlStatement query(db,
                       "SELECT coalesce((SELECT max(id) FROM log_alteracoes), 0), indexado_ate "
                       "FROM log_controle");
    hr = query.StepOne();
    if (hr == S_OK) {
      ultimo = query.Int(0);
      indexadoAte = query.Int(1);
    }
  }
  if (FAILED(hr) || ultimo - indexadoAte < kRegistrosPorIndexacao) return FAILED(hr) ? hr : S_OK;
  // Writers follow each other, so the records of this transaction took the
  // ids that follow each other up to the newest: SQLite gives the largest
  // id plus one (its trigger moves the first above maior_id, and the rest
  // follow it), PostgreSQL the identity's sequence, which only writers draw
  // from.
  const int64_t primeiro = ultimo - static_cast<int64_t>(gravados.size()) + 1;
  for (size_t k = 0; k < gravados.size(); ++k) gravados[k].id = primeiro + static_cast<int64_t>(k);
  hr = db.Execute("SAVEPOINT indexa_eventos");
  if (FAILED(hr)) return hr;
  hr = IndexaEventos(db, std::move(gravados));
  if (FAILED(hr)) db.Execute("ROLLBACK TO indexa_eventos");
  db.Execute("RELEASE indexa_eventos");
  return hr;
}

HRESULT ContinuaLog(SuiteDatabase& db) {
  if (db.backend() != SuiteDatabase::Backend::kPostgres) return S_OK;
  return db.Execute(
      "SELECT setval(pg_get_serial_sequence('log_alteracoes', 'id'), CASE WHEN maior_id > "
      "r.maior THEN maior_id ELSE r.maior END + 1, false) FROM log_controle, "
      "(SELECT coalesce(max(id), 0) AS maior FROM log_alteracoes) r");
}

HRESULT LeOperacoesEncerradas(SuiteDatabase& db, std::vector<uint64_t>* operacoes) {
  operacoes->clear();
  return db.Read([&] {
    SqlStatement query(db,
                       "SELECT coalesce((SELECT operacao FROM log_alteracoes WHERE operacao IS NOT "
                       "NULL ORDER BY id DESC LIMIT 1), 0), (SELECT ultima FROM recuperacoes)");
    const HRESULT hr = query.StepOne();
    for (int coluna = 0; hr == S_OK && coluna < 2; ++coluna) {
      if (query.Int(coluna) != 0) operacoes->push_back(static_cast<uint64_t>(query.Int(coluna)));
    }
    return FAILED(hr) ? hr : S_OK;
  });
}

HRESULT ProximoRegistroSqlite(SuiteDatabase& db, int64_t* id) {
  SqlStatement proximo(db, kProximoSqlite);
  const HRESULT hr = proximo.StepOne();
  if (hr != S_OK) return FAILED(hr) ? hr : SemControle(db);
  *id = proximo.Int(0);
  return S_OK;
}

HRESULT InsereSemRegistros(SuiteDatabase& db, EventoLog evento) {
  return db.Write([&] {
    {
      // The place is taken from the records' own sequence: the next record
      // goes after it (ProximoRegistroSqlite; on PostgreSQL, the identity's
      // sequence).
      SqlStatement reserva(db, db.backend() == SuiteDatabase::Backend::kPostgres
                                   ? kReservaPostgres
                                   : kReservaSqlite.c_str());
      const HRESULT hr = reserva.StepOne();
      if (hr != S_OK) return FAILED(hr) ? hr : SemControle(db);
      evento.id = reserva.Int(0);
    }
    return InsereEventos(db, {evento});
  });
}

}  // namespace qx
