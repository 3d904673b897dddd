#include "outside/change_log_store.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "outside/outside_codes.h"
#include "outside/sql_statement.h"
#include "values/text_format.h"

namespace qx {
namespace {

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
      s.Bind(k, std::nullopt);
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

HRESULT InsereEvento(SuiteDatabase& db, const EventoLog& e) {
  const bool conferencia = e.tipo == kEventoConferido;
  const auto marca = [&](uint8_t valor) {
    return conferencia ? std::optional<int64_t>(valor) : std::nullopt;
  };
  SqlStatement insert(
      db,
      "INSERT INTO log_eventos (id, ultimo, anterior, tipo, sessao, usuario, mes, "
      "posicao, lote, gravado_em, conferido_antes, conferido, imagem_antes, "
      "imagem_depois, complemento, linhas, quantidades, primeira_linha, valor_moeda) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.Bind(1, e.id).Bind(2, e.ultimo != 0 ? std::optional<int64_t>(e.ultimo) : std::nullopt);
  insert.Bind(3, e.anterior != 0 ? std::optional<int64_t>(e.anterior) : std::nullopt);
  insert.BindText(4, std::string_view(&e.tipo, 1)).Bind(5, e.sessao).Bind(6, e.usuario);
  insert.Bind(7, e.mes).Bind(8, e.posicao).Bind(9, Lote(e)).BindText(10, e.gravadoEm);
  insert.Bind(11, marca(e.conferidoAntes)).Bind(12, marca(e.conferido));
  LigaResumo(insert, 13, e.resumo);
  return insert.Run();
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

HRESULT IndexaEventos(SuiteDatabase& db) {
  return db.Write([&] {
    MarcasLog marcas;
    HRESULT hr = LeMarcasLog(db, &marcas);
    if (FAILED(hr)) return hr;
    // The last event filed is read again, so that the records after it are
    // grouped as they would have been had they come with it.
    const int64_t desde = marcas.ultimoEvento > 0 ? marcas.ultimoEvento : marcas.indexadoAte + 1;
    MarcasLog novas = marcas;
    HRESULT falha = S_OK;
    AgrupaEventos grupos([&](EventoLog&& evento) {
      if (FAILED(falha) || evento.id < marcas.ultimoEvento) return;
      if (evento.id <= marcas.indexadoAte) {
        falha = EstendeEvento(db, evento);
        return;
      }
      falha = CompletaUsuario(db, &evento);
      if (SUCCEEDED(falha)) falha = ProcuraAnterior(db, {}, &evento);
      if (SUCCEEDED(falha)) falha = InsereEvento(db, evento);
      novas.ultimoEvento = evento.id;
    });
    hr = LeRegistros(db, desde, INT64_MAX, [&](RegistroLog&& registro) {
      novas.indexadoAte = std::max(novas.indexadoAte, registro.id);
      grupos.Recebe(std::move(registro));
      return SUCCEEDED(falha);
    });
    if (SUCCEEDED(hr)) grupos.Termina();
    if (FAILED(hr) || FAILED(falha)) return FAILED(hr) ? hr : falha;
    SqlStatement update(db, "UPDATE log_controle SET indexado_ate = ?, ultimo_evento = ?");
    update.Bind(1, novas.indexadoAte).Bind(2, novas.ultimoEvento);
    return update.Run();
  });
}

HRESULT IndexaSeAtrasado(SuiteDatabase& db) {
  int64_t esperando = 0;
  HRESULT hr;
  {
    SqlStatement query(db,
                       "SELECT coalesce((SELECT max(id) FROM log_alteracoes), 0) - indexado_ate "
                       "FROM log_controle");
    hr = query.StepOne();
    if (hr == S_OK) esperando = query.Int(0);
  }
  if (FAILED(hr) || esperando < kRegistrosPorIndexacao) return FAILED(hr) ? hr : S_OK;
  hr = db.Execute("SAVEPOINT indexa_eventos");
  if (FAILED(hr)) return hr;
  hr = IndexaEventos(db);
  if (FAILED(hr)) db.Execute("ROLLBACK TO indexa_eventos");
  db.Execute("RELEASE indexa_eventos");
  return hr;
}

HRESULT InsereSemRegistros(SuiteDatabase& db, EventoLog evento) {
  return db.Write([&] {
    {
      // The place is taken from the records' own sequence: the next record
      // goes after it (see the schema's triggers).
      SqlStatement reserva(db,
                           "UPDATE log_controle SET maior_id = max(maior_id, coalesce((SELECT "
                           "max(id) FROM log_alteracoes), 0)) + 1 RETURNING maior_id");
      const HRESULT hr = reserva.StepOne();
      if (hr != S_OK) return FAILED(hr) ? hr : SemControle(db);
      evento.id = reserva.Int(0);
    }
    return InsereEvento(db, evento);
  });
}

}  // namespace qx
