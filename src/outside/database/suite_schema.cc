#include "outside/database/suite_schema.h"

#include <iterator>

#include "outside/change_log/change_log_schema.h"
#include "outside/database/outside_codes.h"

namespace qx {
namespace {

// Writing a schema step. Step n brings the schema from version n to n + 1,
// inside one write transaction, on SQLite and on PostgreSQL alike. Write it
// once, as SQL both understand; PostgreSQL reads it translated (sql_dialect.h):
//   - types: INTEGER (64 bits on both), TEXT (compared byte by byte on both),
//     BLOB; an id the database gives is INTEGER PRIMARY KEY AUTOINCREMENT
//     (a plain INTEGER PRIMARY KEY gets no value of its own on PostgreSQL);
//   - CHECK, UNIQUE, REFERENCES, DEFAULT, indices (partial ones too), ALTER
//     TABLE ... ADD COLUMN / RENAME; WITHOUT ROWID is dropped for PostgreSQL;
//   - in statements: INSERT ... ON CONFLICT ... DO NOTHING / DO UPDATE, never
//     INSERT OR ...; CASE instead of min() and max() of two values; no PRAGMA,
//     no sqlite_* tables, no JSON or text functions beyond coalesce, lower,
//     upper, length, substr;
//   - a step that copies rows does so with INSERT ... SELECT, or in a function
//     through SqlStatement, which runs on both;
//   - only what no common text can say (triggers) gets a PostgreSQL text of
//     its own beside the common one.
// Tables are copied by "qxadmin empresa move" in name order, after the tables
// their foreign keys name: a trigger must not change the rows copied in.
struct Step {
  const char* sql;  // for both backends
  HRESULT (*run)(SuiteDatabase& db);
  const char* postgres = nullptr;  // PostgreSQL's own text instead, when there is one
};

constexpr Step kSteps[] = {
    // 0 -> 1
    {R"sql(
CREATE TABLE empresa (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  codigo TEXT NOT NULL,
  nome TEXT NOT NULL DEFAULT '',
  usa_quantidade_gerencial INTEGER NOT NULL DEFAULT 0,
  exercicio INTEGER NOT NULL DEFAULT 0,
  data_inicial INTEGER NOT NULL DEFAULT 0,
  data_final INTEGER NOT NULL DEFAULT 0,
  data_inicial_permitida INTEGER NOT NULL DEFAULT 0,
  data_final_permitida INTEGER NOT NULL DEFAULT 0,
  data_inicial_bloqueada INTEGER NOT NULL DEFAULT 0,
  data_final_bloqueada INTEGER NOT NULL DEFAULT 0,
  codigo_cliente INTEGER NOT NULL DEFAULT 0,
  moeda_estrangeira INTEGER NOT NULL DEFAULT 0,
  modo_diferenca INTEGER NOT NULL DEFAULT 0,
  diferenca_por_filial INTEGER NOT NULL DEFAULT 0,
  tipo_texto_historico INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE tipos_sistemas (sigla TEXT PRIMARY KEY);
CREATE TABLE filiais (
  numero INTEGER PRIMARY KEY CHECK (numero BETWEEN 1 AND 65535),
  nome TEXT NOT NULL
);
CREATE TABLE usuarios (
  numero INTEGER PRIMARY KEY CHECK (numero BETWEEN 0 AND 65535),
  nome TEXT NOT NULL
);
CREATE TABLE filiais_ativas (
  usuario INTEGER NOT NULL REFERENCES usuarios ON DELETE CASCADE,
  filial INTEGER NOT NULL REFERENCES filiais ON DELETE CASCADE,
  PRIMARY KEY (usuario, filial)
) WITHOUT ROWID;
CREATE TABLE contas (
  plano TEXT NOT NULL CHECK (plano IN ('C', 'G')),
  conta INTEGER NOT NULL CHECK (conta BETWEEN 1 AND 2147483647),
  conta_superior INTEGER NOT NULL DEFAULT 0,
  classificacao TEXT NOT NULL,
  nome TEXT NOT NULL,
  tipo TEXT NOT NULL CHECK (tipo IN ('T', 'A')),
  PRIMARY KEY (plano, conta)
) WITHOUT ROWID;
CREATE TABLE historicos (
  codigo INTEGER PRIMARY KEY CHECK (codigo BETWEEN 1 AND 65535),
  texto TEXT NOT NULL,
  abreviacao TEXT NOT NULL DEFAULT ''
);
CREATE TABLE sessoes (
  sessao INTEGER PRIMARY KEY,
  usuario INTEGER NOT NULL,
  aplicativo TEXT NOT NULL DEFAULT '',
  data INTEGER NOT NULL
);
CREATE INDEX sessoes_usuario ON sessoes (usuario);
CREATE TABLE log_alteracoes (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sessao INTEGER NOT NULL,
  chave INTEGER NOT NULL,
  tipo INTEGER NOT NULL,
  servico TEXT NOT NULL,
  dados BLOB NOT NULL,
  gravado_em TEXT NOT NULL
);
CREATE TABLE ged_notificacoes (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sessao INTEGER NOT NULL,
  usuario INTEGER NOT NULL,
  operacao TEXT NOT NULL CHECK (operacao IN ('A', 'E')),
  chave INTEGER NOT NULL,
  descricao_nova TEXT,
  filial_nova INTEGER,
  data_nova INTEGER,
  documento_novo INTEGER,
  descricao_antiga TEXT,
  filial_antiga INTEGER,
  data_antiga INTEGER,
  documento_antigo INTEGER,
  gravado_em TEXT NOT NULL
);
CREATE TABLE ged_bloqueios (chave INTEGER PRIMARY KEY);
CREATE TABLE analytics (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  empresa TEXT NOT NULL,
  aplicativo TEXT NOT NULL,
  origem TEXT NOT NULL,
  classe TEXT NOT NULL,
  metodo TEXT NOT NULL,
  data_hora TEXT NOT NULL,
  quantidade INTEGER NOT NULL,
  total INTEGER NOT NULL,
  maior INTEGER NOT NULL,
  menor INTEGER NOT NULL,
  usuario INTEGER NOT NULL
);
)sql",
     nullptr},
    // 1 -> 2
    {R"sql(
CREATE TABLE lotes_importacao (
  lote INTEGER PRIMARY KEY CHECK (lote BETWEEN 1 AND 8388607),
  reservado_em TEXT NOT NULL
);
)sql",
     nullptr},
    // 2 -> 3
    {nullptr, MigraLogAlteracoes},
    // 3 -> 4: what each batch imported, so that a file is not imported twice
    {R"sql(
ALTER TABLE lotes_importacao ADD COLUMN digesto TEXT;
ALTER TABLE lotes_importacao ADD COLUMN linhas INTEGER;
CREATE INDEX lotes_importacao_digesto ON lotes_importacao (digesto);
)sql",
     nullptr},
    // 4 -> 5: what the bookkeeping file (ECD) needs and the books lack.
    {R"sql(
CREATE TABLE cadastro_pj (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  razao_social TEXT NOT NULL DEFAULT '',
  cnpj TEXT NOT NULL DEFAULT '',
  uf TEXT NOT NULL DEFAULT '',
  municipio TEXT NOT NULL DEFAULT '',
  nome_municipio TEXT NOT NULL DEFAULT '',
  inscricao_estadual TEXT NOT NULL DEFAULT '',
  inscricao_municipal TEXT NOT NULL DEFAULT '',
  nire TEXT NOT NULL DEFAULT '',
  data_arquivamento INTEGER NOT NULL DEFAULT 0,
  data_conversao INTEGER NOT NULL DEFAULT 0,
  mes_inicio_exercicio INTEGER NOT NULL DEFAULT 1 CHECK (mes_inicio_exercicio BETWEEN 1 AND 12),
  grande_porte INTEGER NOT NULL DEFAULT 0 CHECK (grande_porte IN (0, 1))
);
INSERT INTO cadastro_pj (id) VALUES (1);
CREATE TABLE signatarios (
  documento TEXT NOT NULL,
  qualificacao TEXT NOT NULL,
  nome TEXT NOT NULL,
  crc TEXT NOT NULL DEFAULT '',
  uf_crc TEXT NOT NULL DEFAULT '',
  certidao_crc TEXT NOT NULL DEFAULT '',
  validade_certidao INTEGER NOT NULL DEFAULT 0,
  email TEXT NOT NULL DEFAULT '',
  telefone TEXT NOT NULL DEFAULT '',
  responsavel_legal INTEGER NOT NULL DEFAULT 0 CHECK (responsavel_legal IN (0, 1)),
  PRIMARY KEY (documento, qualificacao)
);
CREATE TABLE contas_aglutinacao (
  conta INTEGER PRIMARY KEY CHECK (conta BETWEEN 1 AND 2147483647),
  codigo TEXT NOT NULL,
  descricao TEXT NOT NULL DEFAULT ''
);
)sql",
     nullptr},
    // 5 -> 6: the nature of the accounts by classification (outside/database/naturezas.h).
    {R"sql(
CREATE TABLE naturezas (
  classificacao TEXT PRIMARY KEY,
  natureza TEXT NOT NULL CHECK (natureza IN ('ativo', 'passivo', 'patrimonio', 'receita',
                                             'deducao', 'custo', 'despesa', 'compensacao'))
);
INSERT INTO naturezas (classificacao, natureza)
  VALUES ('1', 'ativo'), ('2', 'passivo'), ('3', 'receita'), ('4', 'despesa');
)sql",
     nullptr},
    // 6 -> 7: the operation of the entry service that the last record of its
    // change carries, the one taken back last, and a recovery's text.
    {R"sql(
ALTER TABLE log_alteracoes ADD COLUMN operacao INTEGER;
CREATE TABLE recuperacoes (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  ultima INTEGER NOT NULL
);
INSERT INTO recuperacoes (id, ultima) VALUES (1, 0);
ALTER TABLE log_eventos ADD COLUMN descricao TEXT;
)sql",
     nullptr},
    // 7 -> 8: who closed the period of data_inicial_bloqueada to
    // data_final_bloqueada, and when (outside/admin/periodo_fechado.h).
    {R"sql(
ALTER TABLE empresa ADD COLUMN fechado_por INTEGER;
ALTER TABLE empresa ADD COLUMN fechado_em TEXT;
)sql",
     nullptr},
    // 8 -> 9: SQLite's records take their ids from their writer.
    {nullptr, MigraIdsPeloGravador},
};
static_assert(std::size(kSteps) == kSuiteSchemaVersion);

}  // namespace

HRESULT MigrateSchema(SuiteDatabase& db) {
  SchemaState state;
  HRESULT hr = db.ReadSchemaState(&state);
  if (SUCCEEDED(hr) && state.version < 0) return E_QXDF_BANCO_INVALIDO;
  const bool postgres = db.backend() == SuiteDatabase::Backend::kPostgres;
  for (int64_t version = state.version; SUCCEEDED(hr) && version < kSuiteSchemaVersion; ++version) {
    const Step& step = kSteps[version];
    if (step.run != nullptr) {
      hr = step.run(db);
    } else {
      hr = db.Execute(postgres && step.postgres != nullptr ? step.postgres : step.sql);
    }
    if (SUCCEEDED(hr)) hr = db.MarkSchemaVersion(version + 1);
  }
  return hr;
}

}  // namespace qx
