// A statement of a PostgreSQL suite database. It runs at its first step and
// takes all its rows at once, so that other statements can run on the
// connection while its rows are read (the change log files events while it
// reads records).
//
// A text "COPY t (a, b) FROM STDIN (FORMAT binary)" loads rows instead: its
// parameters, bound in order, are the values of the rows, as many to a row
// as the text names columns, each of its column's own type.
#pragma once

#include <string>
#include <vector>

#include "outside/database/postgres_database.h"
#include "outside/database/sql_cursor.h"

namespace qx {

class PostgresCursor final : public SqlCursor {
 public:
  PostgresCursor(PostgresDatabase& db, const char* sql);
  ~PostgresCursor() override;
  PostgresCursor(const PostgresCursor&) = delete;
  PostgresCursor& operator=(const PostgresCursor&) = delete;

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
  bool Prepared() const override { return true; }  // at its first step
  void Reset() override;

 private:
  PostgresParameter& At(int index);

  PostgresDatabase& db_;
  std::string text_;  // as PostgreSQL reads it
  std::vector<PostgresParameter> parameters_;
  int copyColumns_ = 0;  // the columns of a COPY's row; 0 for a statement
  pg_result* result_ = nullptr;
  int row_ = -1;
  bool ran_ = false;
};

}  // namespace qx
