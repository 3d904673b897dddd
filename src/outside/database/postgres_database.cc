#include "outside/database/postgres_database.h"

#include <libpq-fe.h>

#include <cctype>

#include "outside/database/outside_codes.h"
#include "outside/database/postgres_connection.h"
#include "outside/database/postgres_cursor.h"
#include "outside/database/postgres_failures.h"
#include "outside/database/postgres_pool.h"
#include "outside/database/sql_dialect.h"
#include "platform/codepage.h"
#include "values/text_format.h"

namespace qx {
namespace {

// Statements prepared on one connection at most; others are parsed each time.
constexpr size_t kMaxPrepared = 256;
constexpr char kStatementTimeout[] = "60s";

// The first number of the writers' advisory lock: the suite's mark.
constexpr char kLockClass[] = "1364743252";

std::string Trimmed(const char* text) {
  std::string trimmed = text != nullptr ? text : "";
  while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back()))) {
    trimmed.pop_back();
  }
  return Utf8ToCp1252(trimmed);
}

// FNV-1a: the same number for a schema on every workstation.
int32_t SchemaNumber(std::string_view schema) {
  uint32_t hash = 2166136261u;
  for (const char c : schema) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return static_cast<int32_t>(hash);
}

}  // namespace

HRESULT SuiteDatabase::OpenPostgres(const std::string& connection, Mode mode,
                                    std::shared_ptr<SuiteDatabase>* db, std::string* message) {
  return PostgresDatabase::Open(connection, mode, db, message);
}

HRESULT PostgresDatabase::Open(const std::string& connection, Mode mode,
                               std::shared_ptr<SuiteDatabase>* db, std::string* message) {
  db->reset();
  // A bad value in the registry leaves the company without its database.
  if (FAILED(ValidaConexaoPostgres(connection, message))) {
    *message += FormatText(" Corrija o valor %s da empresa no registro.", kConexaoPostgreSQL);
    return E_QXDF_BANCO_INDISPONIVEL;
  }
  std::shared_ptr<PostgresDatabase> opened(new PostgresDatabase(connection));
  const HRESULT hr = opened->Connect(mode);
  return HandOut(std::move(opened), hr, db, message);
}

PostgresDatabase::PostgresDatabase(std::string connection)
    : SuiteDatabase(NomeBancoPostgres(connection)), connection_(std::move(connection)) {}

PostgresDatabase::~PostgresDatabase() {
  ForgetStatements();
  if (InTransaction()) Rollback();
  GivePostgresLink(connection_, std::move(link_));
}

HRESULT PostgresDatabase::Connect(Mode mode) {
  HRESULT hr = Link();
  SchemaState state;
  if (SUCCEEDED(hr)) hr = CheckSchema(mode, &state);
  if (SUCCEEDED(hr)) hr = MigrateOlder(mode, state);
  Unlink();
  return hr;
}

HRESULT PostgresDatabase::Link() {
  if (link_) return S_OK;
  // The transaction went with its connection: the rest of it runs nowhere,
  // and the message stays the one of the break.
  if (open_) return E_QXDF_BANCO_INDISPONIVEL;
  link_ = TakePostgresLink(connection_);
  return link_ ? S_OK : NewLink();
}

void PostgresDatabase::Unlink() {
  if (!InTransaction()) GivePostgresLink(connection_, std::move(link_));
}

void PostgresDatabase::Release(bool own) {
  // A connection that broke is left at once, whatever it was doing: the
  // next transaction connects again.
  if (link_ && PQstatus(link_->conn) != CONNECTION_OK) {
    link_.reset();
    writing_ = false;
  } else if (own) {
    Unlink();
  }
}

HRESULT PostgresDatabase::NewLink() {
  // Defaults first: what the connection value says overrides them. The
  // encoding comes last, as the suite's texts need it.
  const std::string conninfo = TextoConexaoPostgres(connection_);
  const char* const keywords[] = {"connect_timeout",
                                  "fallback_application_name",
                                  "keepalives_idle",
                                  "keepalives_interval",
                                  "keepalives_count",
                                  "tcp_user_timeout",
                                  "dbname",
                                  "client_encoding",
                                  nullptr};
  const char* const values[] = {"10",    "ostrel",         "15",   "5",    "3",
                                "30000", conninfo.c_str(), "UTF8", nullptr};
  pg_conn* conn = PQconnectdbParams(keywords, values, 1);
  if (PQstatus(conn) != CONNECTION_OK) {
    const HRESULT hr = NotConnected(conn);
    PQfinish(conn);
    return hr;
  }
  // The server's notices ("already exists, skipping") are for people at a
  // terminal, not for a server's standard error.
  PQsetNoticeProcessor(
      conn, [](void*, const char*) {}, nullptr);
  link_ = std::make_unique<PostgresLink>();
  link_->conn = conn;
  const HRESULT hr = Configure();
  if (FAILED(hr)) link_.reset();
  return hr;
}

HRESULT PostgresDatabase::NotConnected(pg_conn* conn) {
  const std::string why = Trimmed(PQerrorMessage(conn));
  if (PQconnectionNeedsPassword(conn)) {
    return Fail(E_QXDF_BANCO_INDISPONIVEL,
                FormatText("O %s pede uma senha: ponha-a no arquivo ~/.pgpass (ou no que "
                           "PGPASSFILE indicar) do usu\xE1rio que roda o servidor, nunca no "
                           "registro.",
                           path().c_str()));
  }
  if (PQconnectionUsedPassword(conn)) {
    return Fail(E_QXDF_BANCO_INDISPONIVEL,
                FormatText("O %s recusou o usu\xE1rio e a senha do ~/.pgpass (%s): corrija a "
                           "linha desse servidor no arquivo.",
                           path().c_str(), why.c_str()));
  }
  return Fail(E_QXDF_BANCO_INDISPONIVEL,
              FormatText("N\xE3o foi poss\xEDvel conectar ao %s (%s). Veja se o servidor est\xE1 "
                         "no ar e aceita esta m\xE1quina e este usu\xE1rio (pg_hba.conf), e o "
                         "valor %s da empresa no registro.",
                         path().c_str(), why.c_str(), kConexaoPostgreSQL));
}

HRESULT PostgresDatabase::Configure() {
  PGresult* settings = nullptr;
  HRESULT hr = Simple(
      "SELECT current_schema(), current_setting('statement_timeout') = '0', "
      "current_setting('lock_timeout') = '0'",
      &settings);
  if (FAILED(hr)) return hr;
  const bool schema = !PQgetisnull(settings, 0, 0);
  link_->lockKey = std::string(kLockClass) + ", " +
                   std::to_string(SchemaNumber(schema ? PQgetvalue(settings, 0, 0) : ""));
  std::string set;
  if (*PQgetvalue(settings, 0, 1) == 't') {
    set += FormatText("SET statement_timeout = '%s'; ", kStatementTimeout);
  }
  if (*PQgetvalue(settings, 0, 2) == 't') {
    set += FormatText("SET lock_timeout = %d; ", SuiteBusyTimeoutMs());
  }
  PQclear(settings);
  if (!schema) {
    return Fail(E_QXDF_BANCO_INVALIDO,
                FormatText("O %s n\xE3o tem esquema para as tabelas: o search_path da conex\xE3o "
                           "n\xE3o nomeia um esquema que exista.",
                           path().c_str()));
  }
  return set.empty() ? S_OK : Simple(set);
}

HRESULT PostgresDatabase::Simple(const std::string& sql, PGresult** result) {
  const bool own = !link_;
  HRESULT hr = Link();
  if (FAILED(hr)) return hr;
  PGresult* answer = PQexec(link_->conn, sql.c_str());
  const ExecStatusType status = PQresultStatus(answer);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    hr = Failure(answer);
  } else if (result != nullptr) {
    *result = answer;
  } else {
    PQclear(answer);
  }
  Release(own);
  return hr;
}

HRESULT PostgresDatabase::Failure(PGresult* result) {
  const bool connected = PQstatus(link_->conn) == CONNECTION_OK;
  const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const FalhaPostgres falha = ClassificaFalhaPostgres(state, connected);
  std::string why = Trimmed(result != nullptr ? PQresultErrorMessage(result) : "");
  if (why.empty()) why = Trimmed(PQerrorMessage(link_->conn));
  PQclear(result);
  return Fail(falha.code, FormatText("Banco de dados \"%s\": %s.%s", path().c_str(), why.c_str(),
                                     falha.conselho));
}

HRESULT PostgresDatabase::Execute(const char* sql) { return Simple(PostgresScript(sql)); }

HRESULT PostgresDatabase::Query(const std::string& text,
                                const std::vector<PostgresParameter>& parameters,
                                PGresult** result) {
  *result = nullptr;
  const bool own = !link_;
  HRESULT hr = Link();
  if (FAILED(hr)) return hr;
  const int count = static_cast<int>(parameters.size());
  std::vector<Oid> types(count);
  std::vector<const char*> values(count);
  std::vector<int> lengths(count), formats(count, 1);
  std::string key = text;
  key += '\0';
  for (int i = 0; i < count; ++i) {
    const PostgresParameter& parameter = parameters[i];
    types[i] = parameter.type;
    values[i] = parameter.null ? nullptr : parameter.bytes.data();
    lengths[i] = static_cast<int>(parameter.bytes.size());
    key += std::to_string(types[i]) + ",";
  }
  std::map<std::string, std::string>& prepared = link_->prepared;
  auto name = prepared.find(key);
  if (name == prepared.end() && prepared.size() < kMaxPrepared) {
    const std::string made = "qx" + std::to_string(prepared.size());
    PGresult* answer = PQprepare(link_->conn, made.c_str(), text.c_str(), count, types.data());
    if (PQresultStatus(answer) == PGRES_COMMAND_OK) {
      name = prepared.emplace(key, made).first;
      PQclear(answer);
    } else {
      hr = Failure(answer);
    }
  }
  if (SUCCEEDED(hr)) {
    PGresult* answer = name != prepared.end()
                           ? PQexecPrepared(link_->conn, name->second.c_str(), count, values.data(),
                                            lengths.data(), formats.data(), 0)
                           : PQexecParams(link_->conn, text.c_str(), count, types.data(),
                                          values.data(), lengths.data(), formats.data(), 0);
    const ExecStatusType status = PQresultStatus(answer);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
      *result = answer;
    } else {
      hr = Failure(answer);
    }
  }
  Release(own);
  return hr;
}

bool PostgresDatabase::InTransaction() {
  if (!link_) return open_;
  const PGTransactionStatusType status = PQtransactionStatus(link_->conn);
  return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

HRESULT PostgresDatabase::Begin(bool write) {
  writing_ = false;
  const char* begin = write ? "BEGIN" : "BEGIN ISOLATION LEVEL REPEATABLE READ";
  HRESULT hr = Simple(begin);
  // Idle connections that broke (a server that restarted) are left one by
  // one, until a new one answers or connecting fails.
  for (size_t left = kMostIdlePostgresLinks; FAILED(hr) && !link_ && left > 0; --left) {
    hr = Simple(begin);
  }
  open_ = SUCCEEDED(hr);
  if (SUCCEEDED(hr) && write) hr = TakeWriteLock();
  return hr;
}

HRESULT PostgresDatabase::TakeWriteLock() {
  HRESULT hr = Link();
  if (SUCCEEDED(hr)) hr = Simple("SELECT pg_advisory_xact_lock(" + link_->lockKey + ")");
  writing_ = SUCCEEDED(hr);
  return hr;
}

HRESULT PostgresDatabase::JoinWrite() { return writing_ ? S_OK : TakeWriteLock(); }

HRESULT PostgresDatabase::Commit() {
  // A transaction that a failed statement spoiled ends in a rollback, which
  // COMMIT reports as success.
  const bool spoiled = link_ && PQtransactionStatus(link_->conn) == PQTRANS_INERROR;
  HRESULT hr = Simple("COMMIT");
  open_ = writing_ = false;
  if (SUCCEEDED(hr) && spoiled) {
    hr = Fail(E_QXDF_BANCO_FALHA,
              FormatText("Banco de dados \"%s\": a transa\xE7\xE3o foi desfeita por uma falha "
                         "dentro dela.",
                         path().c_str()));
  }
  Unlink();
  return hr;
}

void PostgresDatabase::Rollback() {
  if (link_) PQclear(PQexec(link_->conn, "ROLLBACK"));
  open_ = writing_ = false;
  Unlink();
}

HRESULT PostgresDatabase::ReadSchemaState(SchemaState* state) {
  *state = SchemaState();
  PGresult* found = nullptr;
  HRESULT hr = Simple(
      "SELECT count(*), count(*) FILTER (WHERE tablename = 'versao_esquema') "
      "FROM pg_catalog.pg_tables WHERE schemaname = current_schema()",
      &found);
  if (FAILED(hr)) return hr;
  state->tables = std::strtoll(PQgetvalue(found, 0, 0), nullptr, 10);
  const bool marked = *PQgetvalue(found, 0, 1) != '0';
  PQclear(found);
  if (!marked) return S_OK;
  hr = Simple("SELECT versao, aplicacao FROM versao_esquema WHERE id = 1", &found);
  if (FAILED(hr)) return hr;
  if (PQntuples(found) == 1) {
    state->version = std::strtoll(PQgetvalue(found, 0, 0), nullptr, 10);
    state->applicationId = std::strtoll(PQgetvalue(found, 0, 1), nullptr, 10);
  }
  PQclear(found);
  return S_OK;
}

HRESULT PostgresDatabase::MarkSchemaVersion(int64_t version) {
  const std::string mark = FormatText(
      "CREATE TABLE IF NOT EXISTS versao_esquema (id INTEGER PRIMARY KEY CHECK (id = 1), "
      "versao INTEGER NOT NULL, aplicacao INTEGER NOT NULL); "
      "INSERT INTO versao_esquema VALUES (1, %lld, %d) ON CONFLICT (id) DO UPDATE SET "
      "versao = excluded.versao, aplicacao = excluded.aplicacao",
      static_cast<long long>(version), kSuiteApplicationId);
  return Execute(mark.c_str());
}

HRESULT PostgresDatabase::ContinueSequences() {
  PGresult* columns = nullptr;
  HRESULT hr = Simple(
      "SELECT quote_ident(table_name), quote_ident(column_name) FROM "
      "information_schema.columns WHERE table_schema = current_schema() AND is_identity = 'YES'",
      &columns);
  for (int i = 0; SUCCEEDED(hr) && i < PQntuples(columns); ++i) {
    const std::string table = PQgetvalue(columns, i, 0), column = PQgetvalue(columns, i, 1);
    hr = Simple("SELECT setval(pg_get_serial_sequence('" + table + "', '" + column +
                "'), coalesce(max(" + column + "), 0) + 1, false) FROM " + table);
  }
  PQclear(columns);
  return hr;
}

const CatalogQueries& PostgresDatabase::Catalog() const {
  static constexpr CatalogQueries kCatalog = {
      "SELECT tablename FROM pg_catalog.pg_tables WHERE schemaname = current_schema() "
      "AND tablename <> 'versao_esquema'",
      "SELECT a.attname, coalesce(array_position(i.indkey::int2[], a.attnum) + 1, 0) "
      "FROM pg_catalog.pg_attribute a LEFT JOIN pg_catalog.pg_index i "
      "ON i.indrelid = a.attrelid AND i.indisprimary "
      "WHERE a.attrelid = (SELECT c.oid FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace "
      "n ON n.oid = c.relnamespace WHERE n.nspname = current_schema() AND c.relname = ?) "
      "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
      "SELECT DISTINCT r.relname FROM pg_catalog.pg_constraint k JOIN pg_catalog.pg_class r "
      "ON r.oid = k.confrelid WHERE k.contype = 'f' AND k.conrelid = (SELECT c.oid FROM "
      "pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
      "WHERE n.nspname = current_schema() AND c.relname = ?)",
  };
  return kCatalog;
}

}  // namespace qx
