// The suite database in an SQLite file "QXSUITE.db", in WAL mode, so that
// readers never wait for a writer. The schema carries its version in PRAGMA
// user_version and the suite's mark in PRAGMA application_id.
//
// The WAL's shared-memory index is kept (and the WAL, emptied) after the last
// connection closes, so that a first connection finds the index's room
// already taken and starts on a full disk too. Where it is missing, a full
// disk fails even the first read (the index needs room): an existing database
// is then opened read-only, which needs none, so that reading goes on; its
// writes fail until TryWritable finds room again.
//
// The index lives in memory that the processes of one machine share: an
// SQLite database must never be shared between machines (company_database.h
// refuses one on a network file system).
#pragma once

#include <memory>
#include <string>

#include "outside/database/suite_database.h"

struct sqlite3;

namespace qx {

class SqliteDatabase final : public SuiteDatabase {
 public:
  static HRESULT Open(const std::string& path, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                      std::string* message);
  ~SqliteDatabase() override;

  HRESULT Execute(const char* sql) override;
  bool ReadOnly() const override { return readOnly_; }
  HRESULT TryWritable() override;
  Backend backend() const override { return Backend::kSqlite; }
  std::string file() const override { return path(); }
  HRESULT ReadSchemaState(SchemaState* state) override;
  HRESULT MarkSchemaVersion(int64_t version) override;

  // The code of an SQLite result; a failure also keeps the connection's
  // message.
  HRESULT Check(int sqliteResult);
  sqlite3* handle() const { return db_; }

 protected:
  bool InTransaction() override;
  HRESULT Begin(bool write) override;
  HRESULT Commit() override;
  void Rollback() override;
  const CatalogQueries& Catalog() const override;
  std::unique_ptr<SqlCursor> NewCursor(const char* sql, bool kept) override;

 private:
  explicit SqliteDatabase(std::string path);
  // One statement without results, through the statement cache.
  HRESULT Run(const char* sql);
  // The number one query gives.
  HRESULT Number(const char* sql, int64_t* value);
  HRESULT Prepare(Mode mode);
  // Opens the connection (closing one that is open) and brings its schema
  // up to date; a read-only one takes the schema as it is.
  HRESULT Connect(Mode mode, bool readOnly);
  void Disconnect();

  bool readOnly_ = false;
  sqlite3* db_ = nullptr;
};

// Puts the SQLite database at `from` (closed, no connection open) in the
// place of the one at `to`, which moves aside to `to` + ".anterior" with its
// WAL folded in; the WAL files of neither are left behind to be taken for
// the other's.
HRESULT ReplaceSqliteFile(const std::string& from, const std::string& to, std::string* message);

}  // namespace qx
