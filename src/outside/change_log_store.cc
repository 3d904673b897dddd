#include "outside/change_log_store.h"

#include <algorithm>
#include <string_view>

#include "outside/outside_codes.h"
#include "outside/sql_statement.h"
#include "values/text_format.h"

namespace qx {
namespace {

HRESULT SemControle(SuiteDatabase& db) {
  return db.Fail(E_QXDF_BANCO_INVALIDO,
                 FormatText("O banco de dados \"%s\" n\xE3o tem o controle do log de "
                            "altera\xE7\xF5" "es.",
                            db.path().c_str()));
}

HRESULT InsereEvento(SuiteDatabase& db, const EventoLog& e) {
  const bool conferencia = e.tipo == kEventoConferido;
  const auto marca = [&](uint8_t valor) {
    return conferencia ? std::optional<int64_t>(valor) : std::nullopt;
  };
  SqlStatement insert(db,
                      "INSERT INTO log_eventos (id, tipo, sessao, usuario, mes, posicao, lote, "
                      "gravado_em, conferido_antes, conferido) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.Bind(1, e.id).BindText(2, std::string_view(&e.tipo, 1)).Bind(3, e.sessao);
  insert.Bind(4, e.usuario).Bind(5, e.mes).Bind(6, e.posicao);
  insert.Bind(7, e.lote != 0 ? std::optional<int64_t>(e.lote) : std::nullopt);
  insert.BindText(8, e.gravadoEm).Bind(9, marca(e.conferidoAntes)).Bind(10, marca(e.conferido));
  return insert.Run();
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

HRESULT LeRegistrosDesde(SuiteDatabase& db, int64_t desde,
                         const std::function<bool(RegistroLog&&)>& recebe) {
  return db.Read([&] {
    SqlStatement query(db,
                       "SELECT id, sessao, chave, tipo, servico, dados, gravado_em, usuario, "
                       "valor_moeda, quantidade FROM log_alteracoes WHERE id >= ? ORDER BY id");
    query.Bind(1, desde);
    bool row = false;
    HRESULT hr;
    while (SUCCEEDED(hr = query.Step(&row)) && row) {
      RegistroLog r;
      r.id = query.Int(0);
      r.sessao = static_cast<uint32_t>(query.Int(1));
      r.chave = static_cast<int32_t>(query.Int(2));
      r.tipo = static_cast<int32_t>(query.Int(3));
      const std::string servico = query.Text(4);
      r.servico = servico.empty() ? '\0' : servico[0];
      r.dados = query.Blob(5);
      r.gravadoEm = query.Text(6);
      if (const auto usuario = query.OptionalInt(7)) r.usuario = static_cast<uint16_t>(*usuario);
      r.valorMoeda = query.OptionalInt(8);
      r.quantidade = query.OptionalInt(9);
      if (!recebe(std::move(r))) break;
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
      if (evento.id <= marcas.indexadoAte || FAILED(falha)) return;
      falha = CompletaUsuario(db, &evento);
      if (SUCCEEDED(falha)) falha = InsereEvento(db, evento);
      novas.ultimoEvento = evento.id;
    });
    hr = LeRegistrosDesde(db, desde, [&](RegistroLog&& registro) {
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

HRESULT InsereConferencia(SuiteDatabase& db, EventoLog evento) {
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
    evento.tipo = kEventoConferido;
    return InsereEvento(db, evento);
  });
}

}  // namespace qx
