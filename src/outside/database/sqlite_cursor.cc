#include "outside/database/sqlite_cursor.h"

#include <sqlite3.h>

#include "outside/database/sqlite_database.h"

namespace qx {

SqliteCursor::SqliteCursor(SqliteDatabase& db, const char* sql, bool kept) : db_(db) {
  status_ = sqlite3_prepare_v3(db.handle(), sql, -1, kept ? SQLITE_PREPARE_PERSISTENT : 0, &stmt_,
                               nullptr);
}

SqliteCursor::~SqliteCursor() { sqlite3_finalize(stmt_); }

void SqliteCursor::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  boundBytesKept = false;
}

void SqliteCursor::BindNull(int index, SqlType) {
  if (status_ == SQLITE_OK) status_ = sqlite3_bind_null(stmt_, index);
}

void SqliteCursor::BindInt(int index, int64_t value) {
  if (status_ == SQLITE_OK) status_ = sqlite3_bind_int64(stmt_, index, value);
}

void SqliteCursor::BindText(int index, std::string_view utf8) {
  if (status_ == SQLITE_OK) {
    status_ = sqlite3_bind_text64(stmt_, index, utf8.data(), utf8.size(),
                                  boundBytesKept ? SQLITE_STATIC : SQLITE_TRANSIENT, SQLITE_UTF8);
  }
}

void SqliteCursor::BindBlob(int index, const void* data, size_t size) {
  // A zero-length blob is bound as an empty blob, not as null.
  static const unsigned char kEmpty = 0;
  if (status_ == SQLITE_OK) {
    status_ = sqlite3_bind_blob64(stmt_, index, size == 0 ? &kEmpty : data, size,
                                  boundBytesKept ? SQLITE_STATIC : SQLITE_TRANSIENT);
  }
}

HRESULT SqliteCursor::Step(bool* row) {
  *row = false;
  if (status_ != SQLITE_OK) return db_.Check(status_);
  if (stmt_ == nullptr) return S_OK;  // an empty text
  const int result = sqlite3_step(stmt_);
  if (result == SQLITE_ROW) {
    *row = true;
    return S_OK;
  }
  if (result == SQLITE_DONE) return S_OK;
  return db_.Check(result);
}

int SqliteCursor::Columns() const { return sqlite3_column_count(stmt_); }

SqlType SqliteCursor::Type(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
      return SqlType::kNull;
    case SQLITE_INTEGER:
      return SqlType::kInteger;
    case SQLITE_BLOB:
      return SqlType::kBlob;
    default:
      return SqlType::kText;
  }
}

int64_t SqliteCursor::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string_view SqliteCursor::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return std::string_view();
  return std::string_view(reinterpret_cast<const char*>(text),
                          static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::string SqliteCursor::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return std::string();
  return std::string(static_cast<const char*>(data), size);
}

std::unique_ptr<SqlCursor> SqliteDatabase::NewCursor(const char* sql, bool kept) {
  return std::make_unique<SqliteCursor>(*this, sql, kept);
}

}  // namespace qx
