#include "outside/suite_database.h"

#include <sqlite3.h>

#include <atomic>
#include <map>
#include <mutex>

#include "outside/outside_codes.h"
#include "platform/disk_space.h"
#include "platform/file_exception.h"
#include "outside/suite_schema.h"
#include "values/text_format.h"
#include "platform/codepage.h"

namespace qx {
namespace {

constexpr int kDefaultBusyTimeoutMs = 5000;
// Rounds of waiting before a busy database is reported: a writer that holds
// the lock longer than this is taken to be stuck.
constexpr int kBusyRounds = 3;

std::atomic<int> g_busyTimeoutMs{0};

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

int BusyTimeout() {
  const int testing = g_busyTimeoutMs.load();
  return testing > 0 ? testing : kDefaultBusyTimeoutMs;
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

}  // namespace

void SetSuiteBusyTimeoutForTesting(int milliseconds) { g_busyTimeoutMs.store(milliseconds); }

SuiteDatabase::~SuiteDatabase() { Disconnect(); }

void SuiteDatabase::Disconnect() {
  for (auto& entry : statements_) sqlite3_finalize(entry.second.stmt);
  statements_.clear();
  if (db_ != nullptr && readOnly_) Leituras(path_, -1);
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

HRESULT SuiteDatabase::Open(const std::string& path, Mode mode, std::shared_ptr<SuiteDatabase>* db,
                            std::string* message) {
  db->reset();
  std::shared_ptr<SuiteDatabase> opened(new SuiteDatabase(path));
  const HRESULT hr = opened->Prepare(mode);
  if (FAILED(hr)) {
    *message = opened->message_;
    return hr;
  }
  message->clear();
  *db = std::move(opened);
  return hr;
}

HRESULT SuiteDatabase::Prepare(Mode mode) {
  const HRESULT hr = Connect(mode, false);
  if (hr != kDiscoCheio || mode != Mode::kExisting) return hr;
  return Connect(mode, true);
}

HRESULT SuiteDatabase::TryWritable() {
  if (!readOnly_) return S_OK;
  if (SUCCEEDED(Connect(Mode::kExisting, false))) return S_OK;
  // Still no room: back to reading, with the reason kept.
  const std::string reason = message_;
  const HRESULT hr = Connect(Mode::kExisting, true);
  message_ = reason;
  return FAILED(hr) ? hr : kDiscoCheio;
}

HRESULT SuiteDatabase::Connect(Mode mode, bool readOnly) {
  Disconnect();
  if (!readOnly && Leituras(path_, 0) > 0) {
    return Fail(kDiscoCheio,
                FormatText("Banco de dados \"%s\": aberto s\xF3 para leitura desde que o disco "
                           "encheu; as grava\xE7\xF5"
                           "es voltam quando essas conex\xF5"
                           "es se fecharem.",
                           path_.c_str()));
  }
  readOnly_ = readOnly;
  // A connection serves one thread at a time (see the class), so SQLite's
  // own locking of each call is not needed.
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
              (mode == Mode::kCreate ? SQLITE_OPEN_CREATE : 0);
  std::string name = path_;
  // SQLite gives its journal, WAL and shared-memory files the bits of the
  // database, which is made first as the company's other files are.
  if (mode == Mode::kCreate) CreateEmptyFileLike(path_, "");
  if (readOnly) {
    // Read-only, the index of the WAL is kept in memory unless another
    // connection has it in its shared-memory file, which must exist (empty).
    CreateEmptyFileLike(path_ + "-shm", path_);
    flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    name = UriOf(path_) + "?readonly_shm=1";
  }
  const int opened = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
  if (db_ != nullptr && readOnly) Leituras(path_, +1);
  if (opened == SQLITE_OK && !readOnly) {
    // The WAL's index outlives the last connection, so that the next first
    // one reuses its room: on a full disk it still starts.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
  }
  if (opened != SQLITE_OK) {
    const HRESULT hr = Check(opened);
    return Fail(hr, FormatText("N\xE3o foi poss\xEDvel abrir o banco de dados \"%s\": %s",
                               path_.c_str(), Utf8ToCp1252(sqlite3_errstr(opened)).c_str()));
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, BusyTimeout());

  // The header is read before anything is written, so a foreign file stays
  // as it is.
  SchemaState state;
  HRESULT hr = Read([&] { return ReadSchemaState(*this, &state); });
  if (hr == E_QXDF_BANCO_INVALIDO) {
    return Fail(hr, FormatText("O arquivo \"%s\" n\xE3o \xE9 um banco de dados.", path_.c_str()));
  }
  if (FAILED(hr)) return hr;
  const bool empty = state.version == 0 && state.applicationId == 0 && state.tables == 0;
  if (empty && mode == Mode::kExisting) {
    return Fail(E_QXDF_BANCO_INVALIDO,
                FormatText("O banco de dados \"%s\" est\xE1 vazio: a empresa n\xE3o foi criada.",
                           path_.c_str()));
  }
  if ((!empty && state.applicationId != kSuiteApplicationId) || state.version < 0) {
    return Fail(
        E_QXDF_BANCO_INVALIDO,
        FormatText("O arquivo \"%s\" n\xE3o \xE9 um banco de dados do sistema.", path_.c_str()));
  }
  if (state.version > kSuiteSchemaVersion) {
    return Fail(
        E_QXDF_BANCO_VERSAO_NOVA,
        FormatText("O banco de dados \"%s\" tem a vers\xE3o %lld do esquema; este "
                   "programa conhece at\xE9 a vers\xE3o %d.",
                   path_.c_str(), static_cast<long long>(state.version), kSuiteSchemaVersion));
  }

  // The WAL kept after the last connection is emptied (journal_size_limit 0):
  // its old frames would otherwise stand for the database file that was
  // checkpointed, even one put back from a copy.
  for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                             "PRAGMA foreign_keys=ON", "PRAGMA journal_size_limit=0"}) {
    hr = Execute(pragma);
    if (FAILED(hr)) return hr;
  }
  if (state.version < kSuiteSchemaVersion) {
    hr = readOnly ? Fail(kDiscoCheio, message_) : Write([&] { return MigrateSchema(*this); });
  }
  return hr;
}

HRESULT SuiteDatabase::Write(const std::function<HRESULT()>& body) {
  return Transaction("BEGIN IMMEDIATE", body);
}

HRESULT SuiteDatabase::Read(const std::function<HRESULT()>& body) {
  return Transaction("BEGIN", body);
}

HRESULT SuiteDatabase::Transaction(const char* begin, const std::function<HRESULT()>& body) {
  // Inside a transaction of the caller, the body becomes part of it.
  if (sqlite3_get_autocommit(db_) == 0) return body();
  HRESULT hr = S_OK;
  for (int round = 0; round < kBusyRounds; ++round) {
    hr = Run(begin);
    if (SUCCEEDED(hr)) {
      hr = body();
      if (SUCCEEDED(hr)) {
        const HRESULT committed = Run("COMMIT");
        if (FAILED(committed)) hr = committed;
      }
    }
    if (sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    if (hr != E_QXDF_BANCO_OCUPADO) return hr;
  }
  return Fail(hr, FormatText("O banco de dados \"%s\" est\xE1 bloqueado por outro processo.",
                             path_.c_str()));
}

HRESULT SuiteDatabase::Execute(const char* sql) {
  return Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr));
}

HRESULT SuiteDatabase::Run(const char* sql) {
  int result = SQLITE_OK;
  sqlite3_stmt* stmt = Borrow(sql, &result);
  if (result == SQLITE_OK) result = sqlite3_step(stmt);
  const HRESULT hr = Check(result);
  GiveBack(stmt);
  return hr;
}

HRESULT SuiteDatabase::Check(int sqliteResult) {
  const HRESULT hr = CodeOf(sqliteResult);
  if (SUCCEEDED(hr)) return hr;
  if (DiscoCheio(db_, sqliteResult)) {
    return Fail(kDiscoCheio,
                FormatText("Banco de dados \"%s\": o disco est\xE1 cheio; as leituras "
                           "continuam, as grava\xE7\xF5"
                           "es falham at\xE9 que haja espa\xE7o.",
                           path_.c_str()));
  }
  const char* text = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(sqliteResult);
  return Fail(hr, FormatText("Banco de dados \"%s\": %s", path_.c_str(),
                             Utf8ToCp1252(text != nullptr ? text : "").c_str()));
}

HRESULT SuiteDatabase::Fail(HRESULT hr, std::string message) {
  message_ = std::move(message);
  return hr;
}

}  // namespace qx
