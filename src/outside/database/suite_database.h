// A company's suite database: one connection, to either of two backends.
//
// SQLite is the embedded default: the file "QXSUITE.db" in the company's "DF"
// folder, shared by the server processes of one machine (sqlite_database.h).
// PostgreSQL serves a company whose workstations share it across a network:
// its registry key names the database (postgres_database.h). Callers see the
// same tables, the same statements and the same transactions on both.
//
// Writers take the database's one write lock at the start of their
// transaction (SQLite's BEGIN IMMEDIATE, a transaction-scoped advisory lock
// on PostgreSQL), so that writes follow each other in one order on every
// workstation: ids given in a transaction grow in the order of commits. They
// wait for each other up to a budget and try the whole transaction again when
// the budget runs out. Readers see one consistent state and never wait.
//
// The schema carries its version and the suite's mark. Opening brings an
// older schema up to date; a database that is not one of the suite, or whose
// schema is newer than this program's, is refused and never written.
//
// Failures are reported as the codes of outside_codes.h, with a message
// (Windows-1252) for the last-error record and the error log that says what
// to do; a full disk gives kDiscoCheio.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "outside/database/sql_cursor.h"
#include "platform/com_types.h"
#include "storage/arq_status.h"

namespace qx {

inline constexpr char kSuiteDatabaseName[] = "QXSUITE.db";
// A failure because the disk is full: the record files' own code.
inline constexpr HRESULT kDiscoCheio = QXHresultDoStatus(ARQ_DISCO_CHEIO);
inline constexpr int kSuiteSchemaVersion = 9;
inline constexpr int kSuiteApplicationId = 0x51585354;  // "QXST"

struct SchemaState {
  int64_t version = 0;        // of the suite's schema; 0 before the first step
  int64_t applicationId = 0;  // the suite's mark; 0 when absent
  int64_t tables = 0;         // tables of any kind in the database
};

// A table of the suite as the database describes it, for copying its rows.
struct TableShape {
  std::string name;
  std::vector<std::string> columns;     // in their order
  std::vector<std::string> key;         // the primary key's columns, in order
  std::vector<std::string> references;  // the tables its foreign keys name
};

// The questions that describe the suite's tables, without the backend's own:
// the tables' names; a table's columns in order (?: the table), each with its
// place in the primary key (0: none); the tables a table's foreign keys name.
struct CatalogQueries {
  const char* tables;
  const char* columns;
  const char* references;
};

// One connection. An object is used by one thread at a time.
class SuiteDatabase {
 public:
  enum class Mode {
    kExisting,  // the database must hold a suite schema
    kCreate,    // a missing or empty database is given the current schema
    kNew,       // the database must be empty; the caller runs MigrateSchema
  };
  enum class Backend { kSqlite, kPostgres };

  // Opens the SQLite database at path. On failure *db is left empty and
  // *message says why.
  static HRESULT Open(const std::string& path, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                      std::string* message);
  // Opens the PostgreSQL database that a connection value names (see
  // postgres_connection.h), with the same results.
  static HRESULT OpenPostgres(const std::string& connection, Mode mode,
                              std::shared_ptr<SuiteDatabase>* db, std::string* message);
  virtual ~SuiteDatabase();
  SuiteDatabase(const SuiteDatabase&) = delete;
  SuiteDatabase& operator=(const SuiteDatabase&) = delete;

  // body inside a write transaction, committed when body does not fail and
  // rolled back otherwise. The whole transaction is run again while the
  // database stays busy, a bounded number of times. Inside a transaction
  // already open, body simply runs as part of it.
  HRESULT Write(const std::function<HRESULT()>& body);
  // body inside a read transaction (one consistent view), with the same
  // retries.
  HRESULT Read(const std::function<HRESULT()>& body);

  // Statements without results (a script of several, for schema steps).
  virtual HRESULT Execute(const char* sql) = 0;
  // Records a failure found by the caller (a missing record, say).
  HRESULT Fail(HRESULT hr, std::string message);

  // Whether the connection only reads (an SQLite file opened on a full disk).
  virtual bool ReadOnly() const { return false; }
  // A read-only connection is opened again for reading and writing when the
  // disk has room again: S_OK then, else kDiscoCheio (and it stays read-only).
  // S_OK at once for a connection that writes.
  virtual HRESULT TryWritable() { return S_OK; }

  virtual Backend backend() const = 0;
  // The message of the last failure (Windows-1252).
  const std::string& message() const { return message_; }
  // What messages name the database by: the SQLite file's path, or
  // "PostgreSQL" and the connection value.
  const std::string& path() const { return path_; }
  // The SQLite file; empty on PostgreSQL.
  virtual std::string file() const { return std::string(); }

  // Prepared statements kept for the life of the connection, by their text
  // (at most kMaxCachedStatements of them). Borrow hands out the statement of
  // sql, prepared once, or a fresh one while that is in use or the cache is
  // full. GiveBack resets it, clears its parameters and keeps it (or drops a
  // fresh one).
  static constexpr size_t kMaxCachedStatements = 64;
  SqlCursor* Borrow(const char* sql);
  void GiveBack(SqlCursor* cursor);

  // The schema's version and mark, and setting them (inside a write
  // transaction).
  virtual HRESULT ReadSchemaState(SchemaState* state) = 0;
  virtual HRESULT MarkSchemaVersion(int64_t version) = 0;
  // The suite's tables, by name.
  HRESULT ListTables(std::vector<TableShape>* tables);
  // After rows were copied in with their ids: ids generated later follow them.
  virtual HRESULT ContinueSequences() { return S_OK; }

 protected:
  explicit SuiteDatabase(std::string path) : path_(std::move(path)) {}

  // Hands out a connection that opened, or says why it did not.
  static HRESULT HandOut(std::shared_ptr<SuiteDatabase> opened, HRESULT hr,
                         std::shared_ptr<SuiteDatabase>* db, std::string* message);
  // A statement of the backend; `kept` for one the cache keeps.
  virtual std::unique_ptr<SqlCursor> NewCursor(const char* sql, bool kept) = 0;
  // Drops the kept statements (before the connection closes).
  void ForgetStatements() { statements_.clear(); }

  // Reads the schema's state and refuses what mode does not admit.
  HRESULT CheckSchema(Mode mode, SchemaState* state);
  // Brings an older schema up to date, in a write transaction.
  HRESULT MigrateOlder(Mode mode, const SchemaState& state);

  // The backend's transactions.
  virtual bool InTransaction() = 0;
  virtual HRESULT Begin(bool write) = 0;
  virtual HRESULT Commit() = 0;
  virtual void Rollback() = 0;
  // A write inside a transaction already open.
  virtual HRESULT JoinWrite() { return S_OK; }
  virtual const CatalogQueries& Catalog() const = 0;

 private:
  HRESULT Transaction(bool write, const std::function<HRESULT()>& body);

  std::string path_;
  std::string message_;
  std::map<std::string, std::unique_ptr<SqlCursor>, std::less<>> statements_;
};

// Tests: the time that a connection waits for a locked database, in
// milliseconds; 0 restores the default.
void SetSuiteBusyTimeoutForTesting(int milliseconds);
int SuiteBusyTimeoutMs();

}  // namespace qx
