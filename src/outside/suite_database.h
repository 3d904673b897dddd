// The company's suite database "QXSUITE.db": one SQLite file in the company's
// "DF" folder that several server processes share. It runs in WAL mode, so
// readers never wait for a writer; writers take the write lock at the start of
// their transaction (BEGIN IMMEDIATE), wait for each other up to a budget and
// try the whole transaction again when the budget runs out.
//
// The schema carries its version in PRAGMA user_version and the suite's mark
// in PRAGMA application_id. Opening brings an older schema up to date; a file
// that is not a database of the suite, or whose schema is newer than this
// program's, is refused and never written.
//
// Failures are reported as the codes of outside_codes.h, with a message
// (Windows-1252) for the last-error record and the error log; a full disk
// gives kDiscoCheio.
//
// The WAL's shared-memory index is kept (and the WAL, emptied) after the last
// connection closes, so that a first connection finds the index's room
// already taken and starts on a full disk too. Where it is missing, a full
// disk fails even the first read (the index needs room): an existing database
// is then opened read-only, which needs none, so that reading goes on; its
// writes fail until TryWritable finds room again.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/com_types.h"
#include "storage/arq_status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qx {

inline constexpr char kSuiteDatabaseName[] = "QXSUITE.db";
// A failure because the disk is full: the record files' own code.
inline constexpr HRESULT kDiscoCheio = QXHresultDoStatus(ARQ_DISCO_CHEIO);
inline constexpr int kSuiteSchemaVersion = 7;
inline constexpr int kSuiteApplicationId = 0x51585354;  // "QXST"

// One connection. An object is used by one thread at a time.
class SuiteDatabase {
 public:
  enum class Mode {
    kExisting,  // the file must exist and hold a suite schema
    kCreate,    // a missing or empty file is created with the current schema
  };

  // Opens the database at path. On failure *db is left empty and *message
  // says why.
  static HRESULT Open(const std::string& path, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                      std::string* message);
  ~SuiteDatabase();
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

  // Statements without results.
  HRESULT Execute(const char* sql);
  // The code of an SQLite result; a failure also keeps the connection's
  // message.
  HRESULT Check(int sqliteResult);
  // Records a failure found by the caller (a missing record, say).
  HRESULT Fail(HRESULT hr, std::string message);

  // Whether the connection only reads (opened on a full disk).
  bool ReadOnly() const { return readOnly_; }
  // A read-only connection is opened again for reading and writing when the
  // disk has room again: S_OK then, else kDiscoCheio (and it stays read-only).
  // S_OK at once for a connection that writes.
  HRESULT TryWritable();

  // The message of the last failure (Windows-1252).
  const std::string& message() const { return message_; }
  const std::string& path() const { return path_; }
  sqlite3* handle() const { return db_; }

  // Prepared statements kept for the life of the connection, by their text
  // (at most kMaxCachedStatements of them). Borrow hands out the statement of
  // sql, prepared once, or a fresh one while that is in use or the cache is
  // full; *result is the SQLite result of preparing. GiveBack resets it,
  // clears its parameters and keeps it (or finalizes a fresh one).
  static constexpr size_t kMaxCachedStatements = 32;
  sqlite3_stmt* Borrow(const char* sql, int* result);
  void GiveBack(sqlite3_stmt* stmt);

 private:
  struct Cached {
    sqlite3_stmt* stmt = nullptr;
    bool inUse = false;
  };
  explicit SuiteDatabase(std::string path) : path_(std::move(path)) {}
  HRESULT Transaction(const char* begin, const std::function<HRESULT()>& body);
  // One statement without results, through the statement cache.
  HRESULT Run(const char* sql);
  HRESULT Prepare(Mode mode);
  // Opens the connection (closing one that is open) and brings its schema
  // up to date; a read-only one takes the schema as it is.
  HRESULT Connect(Mode mode, bool readOnly);
  void Disconnect();

  std::string path_;
  bool readOnly_ = false;
  std::string message_;
  sqlite3* db_ = nullptr;
  std::map<std::string, Cached, std::less<>> statements_;
};

// Tests: the time that a connection waits for a locked database, in
// milliseconds; 0 restores the default.
void SetSuiteBusyTimeoutForTesting(int milliseconds);

}  // namespace qx
