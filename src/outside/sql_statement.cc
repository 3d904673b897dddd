#include "outside/sql_statement.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/codepage.h"

namespace qx {
namespace {

// Plain ASCII (moments, letters, codes) is the same text in both code pages.
bool Ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

SqlStatement::SqlStatement(SuiteDatabase& db, const char* sql) : db_(db) {
  stmt_ = db.Borrow(sql, &status_);
}

SqlStatement::~SqlStatement() { db_.GiveBack(stmt_); }

SqlStatement& SqlStatement::Bind(int index, int64_t value) {
  if (status_ == SQLITE_OK) status_ = sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

SqlStatement& SqlStatement::BindText(int index, std::string_view cp1252Text) {
  if (status_ == SQLITE_OK) {
    std::string utf8;
    std::string_view text = cp1252Text;
    if (!Ascii(text)) text = utf8 = Cp1252ToUtf8(text);
    status_ =
        sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  }
  return *this;
}

SqlStatement& SqlStatement::BindBlob(int index, const void* data, size_t size) {
  // A zero-length blob is bound as an empty blob, not as null.
  static const unsigned char kEmpty = 0;
  if (status_ == SQLITE_OK) {
    status_ = sqlite3_bind_blob64(stmt_, index, size == 0 ? &kEmpty : data, size, SQLITE_TRANSIENT);
  }
  return *this;
}

SqlStatement& SqlStatement::Bind(int index, std::optional<int64_t> value) {
  if (value) return Bind(index, *value);
  if (status_ == SQLITE_OK) status_ = sqlite3_bind_null(stmt_, index);
  return *this;
}

HRESULT SqlStatement::Step(bool* row) {
  *row = false;
  if (status_ != SQLITE_OK) return db_.Check(status_);
  const int result = sqlite3_step(stmt_);
  if (result == SQLITE_ROW) {
    *row = true;
    return S_OK;
  }
  if (result == SQLITE_DONE) return S_OK;
  return db_.Check(result);
}

HRESULT SqlStatement::Run() {
  bool row = false;
  HRESULT hr;
  do {
    hr = Step(&row);
  } while (SUCCEEDED(hr) && row);
  return hr;
}

HRESULT SqlStatement::StepOne() {
  bool row = false;
  const HRESULT hr = Step(&row);
  if (FAILED(hr)) return hr;
  return row ? S_OK : S_FALSE;
}

int64_t SqlStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::optional<int64_t> SqlStatement::OptionalInt(int column) const {
  if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::nullopt;
  return Int(column);
}

std::string SqlStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return std::string();
  const std::string_view utf8(reinterpret_cast<const char*>(text),
                              static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
  return Ascii(utf8) ? std::string(utf8) : Utf8ToCp1252(utf8);
}

std::string SqlStatement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return std::string();
  return std::string(static_cast<const char*>(data), size);
}

HRESULT ForEachRow(SuiteDatabase& db, const char* sql,
                   const std::function<void(SqlStatement&)>& bind,
                   const std::function<void(const SqlStatement&)>& take) {
  return db.Read([&] {
    SqlStatement query(db, sql);
    bind(query);
    bool row = false;
    HRESULT hr;
    while (SUCCEEDED(hr = query.Step(&row)) && row) take(query);
    return hr;
  });
}

}  // namespace qx
