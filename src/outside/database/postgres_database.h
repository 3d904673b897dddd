// The suite database on a PostgreSQL server, for a company whose
// workstations share it (postgres_connection.h names it). The company's
// tables live in the connection's current schema, beside the table
// "versao_esquema" that carries the schema's version and the suite's mark.
//
// Writers serialise on a transaction-scoped advisory lock of that schema, as
// SQLite's writers do on its write lock: ids follow the order of commits on
// every workstation. Readers run in REPEATABLE READ, one consistent view.
//
// Nothing waits without a bound: connecting gives up after connect_timeout
// (10 s unless the connection says otherwise), a statement after
// statement_timeout (60 s), a wait for a lock after lock_timeout (the busy
// budget), and a server that vanishes from the network is noticed by TCP's
// keepalives and user timeout. Connections come from the process's pool
// (postgres_pool.h) for one transaction at a time; one that broke is left,
// and the next transaction connects again. A transaction that a broken
// connection ended is never retried, nor carried on elsewhere: until its
// rollback, each of its statements and its commit fail.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "outside/database/postgres_pool.h"
#include "outside/database/suite_database.h"

struct pg_conn;
struct pg_result;

namespace qx {

// One parameter as it travels, in binary: its type (0 when the statement
// tells it) and its bytes.
struct PostgresParameter {
  unsigned type = 0;
  bool null = true;
  std::string bytes;
};

class PostgresDatabase final : public SuiteDatabase {
 public:
  static HRESULT Open(const std::string& connection, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                      std::string* message);
  ~PostgresDatabase() override;

  HRESULT Execute(const char* sql) override;
  Backend backend() const override { return Backend::kPostgres; }
  HRESULT ReadSchemaState(SchemaState* state) override;
  HRESULT MarkSchemaVersion(int64_t version) override;
  HRESULT ContinueSequences() override;

  // Runs a translated statement with its parameters; *result holds its rows
  // (the caller clears it). Statements are prepared once per connection and
  // kind of parameters.
  HRESULT Query(const std::string& text, const std::vector<PostgresParameter>& parameters,
                pg_result** result);
  // Runs a COPY ... FROM STDIN (FORMAT binary) with the rows whose values
  // `values` holds, `columns` to a row, in one exchange.
  HRESULT CopyIn(const std::string& text, int columns, const std::vector<PostgresParameter>& values);

 protected:
  bool InTransaction() override;
  HRESULT Begin(bool write) override;
  HRESULT Commit() override;
  void Rollback() override;
  HRESULT JoinWrite() override;
  const CatalogQueries& Catalog() const override;
  std::unique_ptr<SqlCursor> NewCursor(const char* sql, bool kept) override;

 private:
  explicit PostgresDatabase(std::string connection);
  HRESULT Connect(Mode mode);
  // Takes a connection for a transaction or a statement (from the pool, or
  // a new one), unless one is held; Unlink gives it back outside a
  // transaction.
  HRESULT Link();
  void Unlink();
  // After a statement: gives back a connection taken for it (`own`), and
  // leaves one that broke.
  void Release(bool own);
  HRESULT NewLink();
  // What a new connection sets: its timeouts and the writers' lock of its
  // schema.
  HRESULT Configure();
  HRESULT NotConnected(pg_conn* conn);
  // Runs a script whose last statement may give rows; *result as in Query.
  HRESULT Simple(const std::string& sql, pg_result** result = nullptr);
  // The code and message of a failed statement (result may be null).
  HRESULT Failure(pg_result* result);
  HRESULT TakeWriteLock();

  std::string connection_;  // the value of the registry, as given
  std::unique_ptr<PostgresLink> link_;
  bool writing_ = false;  // the open transaction holds the writers' lock
  // A transaction is open: BEGIN went through and neither COMMIT nor ROLLBACK
  // ended it. Without a connection, the one it ran on broke.
  bool open_ = false;
};

}  // namespace qx
