#include "outside/database/suite_database.h"

#include <algorithm>
#include <atomic>

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "outside/database/suite_schema.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr int kDefaultBusyTimeoutMs = 5000;
// Rounds of waiting before a busy database is reported: a writer that holds
// the lock longer than this is taken to be stuck.
constexpr int kBusyRounds = 3;

std::atomic<int> g_busyTimeoutMs{0};

}  // namespace

void SetSuiteBusyTimeoutForTesting(int milliseconds) { g_busyTimeoutMs.store(milliseconds); }

int SuiteBusyTimeoutMs() {
  const int testing = g_busyTimeoutMs.load();
  return testing > 0 ? testing : kDefaultBusyTimeoutMs;
}

SuiteDatabase::~SuiteDatabase() = default;

HRESULT SuiteDatabase::Write(const std::function<HRESULT()>& body) {
  return Transaction(true, body);
}

HRESULT SuiteDatabase::Read(const std::function<HRESULT()>& body) {
  return Transaction(false, body);
}

HRESULT SuiteDatabase::Transaction(bool write, const std::function<HRESULT()>& body) {
  // Inside a transaction of the caller, the body becomes part of it.
  if (InTransaction()) {
    const HRESULT joined = write ? JoinWrite() : S_OK;
    return FAILED(joined) ? joined : body();
  }
  HRESULT hr = S_OK;
  for (int round = 0; round < kBusyRounds; ++round) {
    hr = Begin(write);
    if (SUCCEEDED(hr)) {
      hr = body();
      if (SUCCEEDED(hr)) {
        const HRESULT committed = Commit();
        if (FAILED(committed)) hr = committed;
      }
    }
    if (InTransaction()) Rollback();
    if (hr != E_QXDF_BANCO_OCUPADO) return hr;
  }
  return Fail(hr, FormatText("O banco de dados \"%s\" est\xE1 bloqueado por outro processo.",
                             path_.c_str()));
}

HRESULT SuiteDatabase::Fail(HRESULT hr, std::string message) {
  message_ = std::move(message);
  return hr;
}

HRESULT SuiteDatabase::CheckSchema(Mode mode, SchemaState* state) {
  HRESULT hr = Read([&] { return ReadSchemaState(state); });
  if (hr == E_QXDF_BANCO_INVALIDO) {
    return Fail(hr, FormatText("O arquivo \"%s\" n\xE3o \xE9 um banco de dados.", path_.c_str()));
  }
  if (FAILED(hr)) return hr;
  const bool empty = state->version == 0 && state->applicationId == 0 && state->tables == 0;
  if (empty && mode == Mode::kExisting) {
    return Fail(E_QXDF_BANCO_INVALIDO,
                FormatText("O banco de dados \"%s\" est\xE1 vazio: a empresa n\xE3o foi criada "
                           "nele (qxadmin empresa inclui, ou empresa move para traz\xEA-la).",
                           path_.c_str()));
  }
  if (!empty && mode == Mode::kNew) {
    return Fail(E_QXDF_JA_EXISTE,
                FormatText("O banco de dados \"%s\" j\xE1 tem tabelas: indique um banco vazio.",
                           path_.c_str()));
  }
  if ((!empty && state->applicationId != kSuiteApplicationId) || state->version < 0) {
    return Fail(E_QXDF_BANCO_INVALIDO,
                FormatText("O banco de dados \"%s\" n\xE3o \xE9 um banco de dados do sistema.",
                           path_.c_str()));
  }
  if (state->version > kSuiteSchemaVersion) {
    return Fail(
        E_QXDF_BANCO_VERSAO_NOVA,
        FormatText("O banco de dados \"%s\" tem a vers\xE3o %lld do esquema; este "
                   "programa conhece at\xE9 a vers\xE3o %d: atualize o programa.",
                   path_.c_str(), static_cast<long long>(state->version), kSuiteSchemaVersion));
  }
  return S_OK;
}

HRESULT SuiteDatabase::MigrateOlder(Mode mode, const SchemaState& state) {
  if (mode == Mode::kNew || state.version >= kSuiteSchemaVersion) return S_OK;
  return Write([&] { return MigrateSchema(*this); });
}

HRESULT SuiteDatabase::ListTables(std::vector<TableShape>* tables) {
  const CatalogQueries& catalog = Catalog();
  return Read([&] {
    tables->clear();
    HRESULT hr = ForEachRow(
        *this, catalog.tables, [](SqlStatement&) {},
        [&](const SqlStatement& row) {
          tables->push_back({row.Text(0), {}, {}, {}});
        });
    std::sort(tables->begin(), tables->end(),
              [](const TableShape& a, const TableShape& b) { return a.name < b.name; });
    for (size_t t = 0; SUCCEEDED(hr) && t < tables->size(); ++t) {
      TableShape& table = (*tables)[t];
      std::vector<std::pair<int64_t, std::string>> key;
      const auto name = [&](SqlStatement& query) { query.BindText(1, table.name); };
      hr = ForEachRow(*this, catalog.columns, name, [&](const SqlStatement& row) {
        table.columns.push_back(row.Text(0));
        if (row.Int(1) > 0) key.emplace_back(row.Int(1), table.columns.back());
      });
      std::sort(key.begin(), key.end());
      for (auto& column : key) table.key.push_back(std::move(column.second));
      if (SUCCEEDED(hr)) {
        hr = ForEachRow(*this, catalog.references, name,
                        [&](const SqlStatement& row) { table.references.push_back(row.Text(0)); });
      }
    }
    return hr;
  });
}

}  // namespace qx
