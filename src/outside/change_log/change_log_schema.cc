#include "outside/change_log/change_log_schema.h"

#include "outside/change_log/change_log_store.h"

namespace qx {
namespace {

// The records move to a table of the same columns, plus what the history
// needs beside them. Without AUTOINCREMENT a save no longer rewrites the
// counter's page; log_controle.maior_id and the triggers keep ids
// increasing as AUTOINCREMENT did: a deleted newest record raises maior_id,
// and a record that would take an id at or below it (the largest row gone)
// is moved just above it. Checks take their place in the order there too.
// An event's records are those from its id to `ultimo`; a check has none.
// An update or a removal names in `anterior` the entry's save before it.
// What a save wrote (images, complement, split lines and amounts) is kept
// with its event too, so that reading the history reads no record.
constexpr char kControle[] = R"sql(
CREATE TABLE log_controle (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  maior_id INTEGER NOT NULL,
  indexado_ate INTEGER NOT NULL,
  ultimo_evento INTEGER NOT NULL
);
)sql";

constexpr char kEventos[] = R"sql(
CREATE TABLE log_eventos (
  id INTEGER PRIMARY KEY,
  ultimo INTEGER,
  anterior INTEGER,
  tipo TEXT NOT NULL,
  sessao INTEGER NOT NULL,
  usuario INTEGER,
  mes INTEGER NOT NULL,
  posicao INTEGER NOT NULL,
  lote INTEGER,
  gravado_em TEXT NOT NULL,
  conferido_antes INTEGER,
  conferido INTEGER,
  imagem_antes BLOB,
  imagem_depois BLOB,
  complemento BLOB,
  linhas BLOB,
  quantidades BLOB,
  primeira_linha INTEGER,
  valor_moeda INTEGER
);
CREATE INDEX log_eventos_lancamento ON log_eventos (mes, posicao);
)sql";

// SQLite: the records move to a new table; the control row starts above the
// largest id AUTOINCREMENT ever gave.
constexpr char kRegistrosSqlite[] = R"sql(
CREATE TABLE log_alteracoes_nova (
  id INTEGER PRIMARY KEY,
  sessao INTEGER NOT NULL,
  chave INTEGER NOT NULL,
  tipo INTEGER NOT NULL,
  servico TEXT NOT NULL,
  dados BLOB NOT NULL,
  gravado_em TEXT NOT NULL,
  usuario INTEGER,
  valor_moeda INTEGER,
  quantidade INTEGER
);
INSERT INTO log_alteracoes_nova (id, sessao, chave, tipo, servico, dados, gravado_em)
  SELECT id, sessao, chave, tipo, servico, dados, gravado_em FROM log_alteracoes ORDER BY id;
)sql";
constexpr char kTrocaSqlite[] = R"sql(
INSERT INTO log_controle VALUES (1,
  max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = 'log_alteracoes'), 0),
      coalesce((SELECT max(id) FROM log_alteracoes), 0)), 0, 0);
DROP TABLE log_alteracoes;
ALTER TABLE log_alteracoes_nova RENAME TO log_alteracoes;
)sql";
constexpr char kGatilhosSqlite[] = R"sql(
CREATE TRIGGER log_alteracoes_sequencia AFTER INSERT ON log_alteracoes
WHEN new.id <= (SELECT maior_id FROM log_controle)
 AND new.id = (SELECT max(id) FROM log_alteracoes)
BEGIN
  UPDATE log_alteracoes SET id = (SELECT maior_id FROM log_controle) + 1 WHERE id = new.id;
END;
CREATE TRIGGER log_alteracoes_exclusao AFTER DELETE ON log_alteracoes
BEGIN
  UPDATE log_controle SET maior_id = old.id WHERE old.id > maior_id;
  DELETE FROM log_eventos WHERE id = old.id;
END;
)sql";

// PostgreSQL: the records stay where they are and keep the ids of their
// identity column, which never gives one twice (deleted or not): as
// AUTOINCREMENT did, so that maior_id only records checks and deletions.
// Writers follow each other, so the ids follow the commits.
constexpr char kRegistrosPostgres[] = R"sql(
ALTER TABLE log_alteracoes ADD COLUMN usuario INTEGER, ADD COLUMN valor_moeda INTEGER,
  ADD COLUMN quantidade INTEGER;
)sql";
constexpr char kTrocaPostgres[] = R"sql(
INSERT INTO log_controle VALUES (1, coalesce((SELECT max(id) FROM log_alteracoes), 0), 0, 0);
)sql";
constexpr char kGatilhosPostgres[] = R"sql(
CREATE FUNCTION log_alteracoes_exclusao() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  UPDATE log_controle SET maior_id = OLD.id WHERE OLD.id > maior_id;
  DELETE FROM log_eventos WHERE id = OLD.id;
  RETURN OLD;
END $$;
CREATE TRIGGER log_alteracoes_exclusao AFTER DELETE ON log_alteracoes
  FOR EACH ROW EXECUTE FUNCTION log_alteracoes_exclusao();
)sql";

// Made after the old records are filed, which is quicker than keeping them
// up to date record by record; the filing itself looks events up by entry.
constexpr char kIndices[] = R"sql(
CREATE INDEX log_eventos_momento ON log_eventos (tipo, gravado_em);
CREATE INDEX log_eventos_sessao ON log_eventos (sessao);
CREATE INDEX log_eventos_usuario ON log_eventos (usuario);
CREATE INDEX log_eventos_lote ON log_eventos (lote) WHERE lote IS NOT NULL;
)sql";

}  // namespace

HRESULT MigraLogAlteracoes(SuiteDatabase& db) {
  const bool postgres = db.backend() == SuiteDatabase::Backend::kPostgres;
  HRESULT hr = S_OK;
  for (const char* sql : {postgres ? kRegistrosPostgres : kRegistrosSqlite, kControle,
                          postgres ? kTrocaPostgres : kTrocaSqlite, kEventos,
                          postgres ? kGatilhosPostgres : kGatilhosSqlite}) {
    if (SUCCEEDED(hr)) hr = db.Execute(sql);
  }
  if (SUCCEEDED(hr)) hr = IndexaEventos(db);
  if (SUCCEEDED(hr)) hr = db.Execute(kIndices);
  return hr;
}

HRESULT MigraIdsPeloGravador(SuiteDatabase& db) {
  return db.backend() == SuiteDatabase::Backend::kPostgres
             ? S_OK
             : db.Execute("DROP TRIGGER log_alteracoes_sequencia;");
}

}  // namespace qx
