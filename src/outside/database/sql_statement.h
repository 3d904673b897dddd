// One statement of a suite database, on either backend. Texts are bound and
// read as Windows-1252 and kept as UTF-8 in the database, so that the data
// reads well in any tool of the database.
//
// Statement texts are written once for both backends: parameters as ? or ?N,
// and only what SQLite and PostgreSQL both understand (see sql_dialect.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "outside/database/sql_cursor.h"
#include "outside/database/suite_database.h"

namespace qx {

// A value as stored, for copying rows between databases: text stays UTF-8.
struct SqlValue {
  SqlType type = SqlType::kNull;
  int64_t integer = 0;
  std::string bytes;  // text or blob
};

class SqlStatement {
 public:
  SqlStatement(SuiteDatabase& db, const char* sql);
  ~SqlStatement();
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  // Parameters are numbered from 1. A failed bind is reported by the next step.
  SqlStatement& Bind(int index, int64_t value);
  SqlStatement& BindText(int index, std::string_view cp1252Text);
  SqlStatement& BindBlob(int index, const void* data, size_t size);
  // A value, or null when there is none.
  SqlStatement& Bind(int index, std::optional<int64_t> value);
  // A null of a kind (kInteger, kText, kBlob).
  SqlStatement& BindNull(int index, SqlType kind);
  SqlStatement& BindValue(int index, const SqlValue& value);
  // The texts and blobs bound from here on stay in place until the statement
  // ends: they are bound without a copy (a text converted to UTF-8 is kept here).
  void KeepsBoundBytes() { cursor_->boundBytesKept = true; }

  // One step: *row is true when a row is ready, false at the end.
  HRESULT Step(bool* row);
  // Runs the statement to its end; no row is expected.
  HRESULT Run();
  // Runs a query that gives at most one row: S_OK with the row ready, S_FALSE
  // when there is none.
  HRESULT StepOne();

  // Columns of the current row, numbered from 0.
  int64_t Int(int column) const;
  std::optional<int64_t> OptionalInt(int column) const;  // nullopt for null
  std::string Text(int column) const;                    // Windows-1252
  std::string Blob(int column) const;
  int Columns() const;
  SqlValue Value(int column) const;

 private:
  SuiteDatabase& db_;
  SqlCursor* cursor_;
  std::deque<std::string> converted_;  // texts bound without a copy
};

// Inserts `count` rows, many to a statement, in their order: `insert` is
// "INSERT INTO t (a, b, c)", `columns` their number, and bind gives row
// `row`'s values to the parameters from `first` on. Rows go in groups of 64,
// 32, ... 1, so that a few texts serve every count: each statement costs
// PostgreSQL a round trip. The texts and blobs bound must stay in place until
// the rows are written (they are bound without a copy).
HRESULT InsertRows(SuiteDatabase& db, const std::string& insert, int columns, size_t count,
                   const std::function<void(SqlStatement&, int first, size_t row)>& bind);

// InsertRows for rows whose every value is bound with its column's own type
// (integers to INTEGER columns, texts to TEXT, blobs to BLOB, or a null):
// PostgreSQL takes them all in one COPY.
HRESULT AppendRows(SuiteDatabase& db, const std::string& insert, int columns, size_t count,
                   const std::function<void(SqlStatement&, int first, size_t row)>& bind);

// Runs a query in a read transaction: bind sets its parameters, take gets
// each row.
HRESULT ForEachRow(SuiteDatabase& db, const char* sql,
                   const std::function<void(SqlStatement&)>& bind,
                   const std::function<void(const SqlStatement&)>& take);

}  // namespace qx
