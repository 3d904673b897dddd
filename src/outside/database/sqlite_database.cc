#include "outside/database/sqlite_database.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <mutex>

#include "outside/database/outside_codes.h"
#include "outside/database/sqlite_cursor.h"
#include "platform/codepage.h"
#include "platform/disk_space.h"
#include "platform/file_exception.h"
#include "values/text_format.h"

namespace qx {
namespace {

// The read-only connections open in the process, by path. While one of a
// database is open, SQLite gives every new connection of the process to that
// database the same read-only index, through which it cannot write.
std::mutex g_leiturasMutex;
std::map<std::string, int> g_leituras;

int Leituras(const std::string& path, int delta) {
  std::lock_guard trava(g_leiturasMutex);
  int& abertas = g_leituras[path];
  abertas += delta;
  const int agora = abertas;
  if (agora == 0) g_leituras.erase(path);
  return agora;
}

HRESULT CodeOf(int result) {
  switch (result & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return S_OK;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return E_QXDF_BANCO_OCUPADO;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return E_QXDF_BANCO_INVALIDO;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
      return E_QXDF_BANCO_INDISPONIVEL;
    case SQLITE_NOMEM:
      return E_OUTOFMEMORY;
    case SQLITE_CONSTRAINT:
      return result == SQLITE_CONSTRAINT_PRIMARYKEY || result == SQLITE_CONSTRAINT_UNIQUE
                 ? E_QXDF_JA_EXISTE
                 : E_INVALIDARG;
    default:
      return E_QXDF_BANCO_FALHA;
  }
}

// Whether a failure comes from a full disk: SQLite's own report, or a file
// operation of SQLite that failed for want of room (growing the WAL index).
bool DiscoCheio(sqlite3* db, int result) {
  const int primary = result & 0xFF;
  if (primary == SQLITE_FULL) return true;
  if (db == nullptr || (primary != SQLITE_IOERR && primary != SQLITE_CANTOPEN)) return false;
  return CFileException::OsErrorToException(sqlite3_system_errno(db)) == CFileException::diskFull;
}

// The URI of a file path: what a URI would take for its own is escaped.
std::string UriOf(const std::string& path) {
  std::string uri = "file:";
  for (const char c : path) {
    if (c == '%' || c == '?' || c == '#') {
      uri += FormatText("%%%02X", static_cast<unsigned char>(c));
    } else {
      uri += c;
    }
  }
  return uri;
}

// Folds the WAL of the database at path into its file and leaves WAL mode,
// so that the file stands alone; then removes its WAL files.
void StandAlone(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
  }
  sqlite3_close_v2(db);
  std::error_code ignored;
  for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(path + suffix, ignored);
}

}  // namespace

HRESULT SuiteDatabase::Open(const std::string& path, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                            std::string* message) {
  return SqliteDatabase::Open(path, mode, db, message);
}

HRESULT SqliteDatabase::Open(const std::string& path, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                             std::string* message) {
  db->reset();
  std::shared_ptr<SqliteDatabase> opened(new SqliteDatabase(path));
  const HRESULT hr = opened->Prepare(mode);
  return HandOut(std::move(opened), hr, db, message);
}

SqliteDatabase::SqliteDatabase(std::string path) : SuiteDatabase(std::move(path)) {}

SqliteDatabase::~SqliteDatabase() { Disconnect(); }

void SqliteDatabase::Disconnect() {
  ForgetStatements();
  if (db_ != nullptr && readOnly_) Leituras(path(), -1);
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

HRESULT SqliteDatabase::Prepare(Mode mode) {
  const HRESULT hr = Connect(mode, false);
  if (hr != kDiscoCheio || mode != Mode::kExisting) return hr;
  return Connect(mode, true);
}

HRESULT SqliteDatabase::TryWritable() {
  if (!readOnly_) return S_OK;
  if (SUCCEEDED(Connect(Mode::kExisting, false))) return S_OK;
  // Still no room: back to reading, with the reason kept.
  const std::string reason = message();
  const HRESULT hr = Connect(Mode::kExisting, true);
  return FAILED(hr) ? hr : Fail(kDiscoCheio, reason);
}

HRESULT SqliteDatabase::Connect(Mode mode, bool readOnly) {
  Disconnect();
  if (!readOnly && Leituras(path(), 0) > 0) {
    return Fail(kDiscoCheio,
                FormatText("Banco de dados \"%s\": aberto s\xF3 para leitura desde que o disco "
                           "encheu; as grava\xE7\xF5"
                           "es voltam quando essas conex\xF5"
                           "es se fecharem.",
                           path().c_str()));
  }
  readOnly_ = readOnly;
  // A connection serves one thread at a time (see the class), so SQLite's
  // own locking of each call is not needed.
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
              (mode == Mode::kExisting ? 0 : SQLITE_OPEN_CREATE);
  std::string name = path();
  // SQLite gives its journal, WAL and shared-memory files the bits of the
  // database, which is made first as the company's other files are.
  if (mode != Mode::kExisting) CreateEmptyFileLike(path(), "");
  if (readOnly) {
    // Read-only, the index of the WAL is kept in memory unless another
    // connection has it in its shared-memory file, which must exist (empty).
    CreateEmptyFileLike(path() + "-shm", path());
    flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    name = UriOf(path()) + "?readonly_shm=1";
  }
  const int opened = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
  if (db_ != nullptr && readOnly) Leituras(path(), +1);
  if (opened == SQLITE_OK && !readOnly) {
    // The WAL's index outlives the last connection, so that the next first
    // one reuses its room: on a full disk it still starts.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
  }
  if (opened != SQLITE_OK) {
    const HRESULT hr = Check(opened);
    return Fail(hr, FormatText("N\xE3o foi poss\xEDvel abrir o banco de dados \"%s\": %s",
                               path().c_str(), Utf8ToCp1252(sqlite3_errstr(opened)).c_str()));
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, SuiteBusyTimeoutMs());

  // The header is read before anything is written, so a foreign file stays
  // as it is.
  SchemaState state;
  HRESULT hr = CheckSchema(mode, &state);
  if (FAILED(hr)) return hr;

  // The WAL kept after the last connection is emptied (journal_size_limit 0):
  // its old frames would otherwise stand for the database file that was
  // checkpointed, even one put back from a copy.
  for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                             "PRAGMA foreign_keys=ON", "PRAGMA journal_size_limit=0"}) {
    hr = Execute(pragma);
    if (FAILED(hr)) return hr;
  }
  if (readOnly && state.version < kSuiteSchemaVersion) return Fail(kDiscoCheio, message());
  return MigrateOlder(mode, state);
}

bool SqliteDatabase::InTransaction() { return sqlite3_get_autocommit(db_) == 0; }

HRESULT SqliteDatabase::Begin(bool write) { return Run(write ? "BEGIN IMMEDIATE" : "BEGIN"); }

HRESULT SqliteDatabase::Commit() { return Run("COMMIT"); }

void SqliteDatabase::Rollback() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

HRESULT SqliteDatabase::Execute(const char* sql) {
  return Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr));
}

HRESULT SqliteDatabase::Run(const char* sql) {
  SqlCursor* cursor = Borrow(sql);
  bool row = false;
  const HRESULT hr = cursor->Step(&row);
  GiveBack(cursor);
  return hr;
}

HRESULT SqliteDatabase::Check(int sqliteResult) {
  const HRESULT hr = CodeOf(sqliteResult);
  if (SUCCEEDED(hr)) return hr;
  if (DiscoCheio(db_, sqliteResult)) {
    return Fail(kDiscoCheio, FormatText("Banco de dados \"%s\": o disco est\xE1 cheio; as leituras "
                                        "continuam, as grava\xE7\xF5"
                                        "es falham at\xE9 que haja espa\xE7o.",
                                        path().c_str()));
  }
  const char* text = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(sqliteResult);
  return Fail(hr, FormatText("Banco de dados \"%s\": %s", path().c_str(),
                             Utf8ToCp1252(text != nullptr ? text : "").c_str()));
}

HRESULT SqliteDatabase::Number(const char* sql, int64_t* value) {
  sqlite3_stmt* stmt = nullptr;
  int result = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
  if (result == SQLITE_OK) result = sqlite3_step(stmt);
  *value = result == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
  sqlite3_finalize(stmt);
  return result == SQLITE_ROW ? S_OK : Check(result);
}

HRESULT SqliteDatabase::ReadSchemaState(SchemaState* state) {
  HRESULT hr = Number("PRAGMA user_version", &state->version);
  if (SUCCEEDED(hr)) hr = Number("PRAGMA application_id", &state->applicationId);
  if (SUCCEEDED(hr)) hr = Number("SELECT count(*) FROM sqlite_schema", &state->tables);
  return hr;
}

HRESULT SqliteDatabase::MarkSchemaVersion(int64_t version) {
  const std::string mark = "PRAGMA user_version = " + std::to_string(version) +
                           "; PRAGMA application_id = " + std::to_string(kSuiteApplicationId);
  return Execute(mark.c_str());
}

const CatalogQueries& SqliteDatabase::Catalog() const {
  static constexpr CatalogQueries kCatalog = {
      "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
      "ESCAPE '\\'",
      "SELECT name, pk FROM pragma_table_info(?) ORDER BY cid",
      "SELECT DISTINCT \"table\" FROM pragma_foreign_key_list(?)",
  };
  return kCatalog;
}

HRESULT ReplaceSqliteFile(const std::string& from, const std::string& to, std::string* message) {
  StandAlone(from);
  std::error_code error;
  if (std::filesystem::exists(to, error)) {
    StandAlone(to);
    std::filesystem::rename(to, to + ".anterior", error);
  }
  if (!error) std::filesystem::rename(from, to, error);
  if (!error) return S_OK;
  *message = FormatText("N\xE3o foi poss\xEDvel p\xF4r \"%s\" no lugar de \"%s\": %s", from.c_str(),
                        to.c_str(), error.message().c_str());
  return E_QXDF_BANCO_FALHA;
}

}  // namespace qx
