#include "outside/suite_database.h"

#include <sqlite3.h>

#include <atomic>

#include "outside/outside_codes.h"
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

}  // namespace

void SetSuiteBusyTimeoutForTesting(int milliseconds) { g_busyTimeoutMs.store(milliseconds); }

SuiteDatabase::~SuiteDatabase() {
  for (auto& entry : statements_) sqlite3_finalize(entry.second.stmt);
  sqlite3_close_v2(db_);
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
  // A connection serves one thread at a time (see the class), so SQLite's
  // own locking of each call is not needed.
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                    (mode == Mode::kCreate ? SQLITE_OPEN_CREATE : 0);
  const int opened = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
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

  for (const char* pragma :
       {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON"}) {
    hr = Execute(pragma);
    if (FAILED(hr)) return hr;
  }
  if (state.version < kSuiteSchemaVersion) hr = Write([&] { return MigrateSchema(*this); });
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
  const char* text = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(sqliteResult);
  return Fail(hr, FormatText("Banco de dados \"%s\": %s", path_.c_str(),
                             Utf8ToCp1252(text != nullptr ? text : "").c_str()));
}

HRESULT SuiteDatabase::Fail(HRESULT hr, std::string message) {
  message_ = std::move(message);
  return hr;
}

}  // namespace qx
