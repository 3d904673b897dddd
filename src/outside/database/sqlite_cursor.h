// A prepared statement of an SQLite suite database.
#pragma once

#include "outside/database/sql_cursor.h"

struct sqlite3_stmt;

namespace qx {

class SqliteDatabase;

class SqliteCursor final : public SqlCursor {
 public:
  // Prepares sql; `kept` for a statement the connection keeps.
  SqliteCursor(SqliteDatabase& db, const char* sql, bool kept);
  ~SqliteCursor() override;
  SqliteCursor(const SqliteCursor&) = delete;
  SqliteCursor& operator=(const SqliteCursor&) = delete;

  void BindNull(int index, SqlType kind) override;
  void BindInt(int index, int64_t value) override;
  void BindText(int index, std::string_view utf8) override;
  void BindBlob(int index, const void* data, size_t size) override;
  HRESULT Step(bool* row) override;
  int Columns() const override;
  SqlType Type(int column) const override;
  int64_t Int(int column) const override;
  std::string_view Text(int column) const override;
  std::string Blob(int column) const override;
  bool Prepared() const override { return status_ == 0 && stmt_ != nullptr; }
  void Reset() override;

 private:
  SqliteDatabase& db_;
  sqlite3_stmt* stmt_ = nullptr;
  int status_ = 0;  // the SQLite result of preparing and binding
};

}  // namespace qx
