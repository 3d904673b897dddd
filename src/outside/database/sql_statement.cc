#include "outside/database/sql_statement.h"

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

SqlStatement::SqlStatement(SuiteDatabase& db, const char* sql) : db_(db), cursor_(db.Borrow(sql)) {}

SqlStatement::~SqlStatement() { db_.GiveBack(cursor_); }

SqlStatement& SqlStatement::Bind(int index, int64_t value) {
  cursor_->BindInt(index, value);
  return *this;
}

SqlStatement& SqlStatement::BindText(int index, std::string_view cp1252Text) {
  if (Ascii(cp1252Text)) {
    cursor_->BindText(index, cp1252Text);
  } else if (cursor_->boundBytesKept) {
    cursor_->BindText(index, converted_.emplace_back(Cp1252ToUtf8(cp1252Text)));
  } else {
    cursor_->BindText(index, Cp1252ToUtf8(cp1252Text));
  }
  return *this;
}

SqlStatement& SqlStatement::BindBlob(int index, const void* data, size_t size) {
  cursor_->BindBlob(index, data, size);
  return *this;
}

SqlStatement& SqlStatement::Bind(int index, std::optional<int64_t> value) {
  if (value) return Bind(index, *value);
  return BindNull(index, SqlType::kInteger);
}

SqlStatement& SqlStatement::BindNull(int index, SqlType kind) {
  cursor_->BindNull(index, kind);
  return *this;
}

SqlStatement& SqlStatement::BindValue(int index, const SqlValue& value) {
  switch (value.type) {
    case SqlType::kNull:
      cursor_->BindNull(index, SqlType::kNull);
      break;
    case SqlType::kInteger:
      cursor_->BindInt(index, value.integer);
      break;
    case SqlType::kText:
      cursor_->BindText(index, value.bytes);
      break;
    case SqlType::kBlob:
      cursor_->BindBlob(index, value.bytes.data(), value.bytes.size());
      break;
  }
  return *this;
}

HRESULT SqlStatement::Step(bool* row) {
  *row = false;
  return cursor_->Step(row);
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

int64_t SqlStatement::Int(int column) const { return cursor_->Int(column); }

std::optional<int64_t> SqlStatement::OptionalInt(int column) const {
  if (cursor_->Type(column) == SqlType::kNull) return std::nullopt;
  return Int(column);
}

std::string SqlStatement::Text(int column) const {
  const std::string_view utf8 = cursor_->Text(column);
  return Ascii(utf8) ? std::string(utf8) : Utf8ToCp1252(utf8);
}

std::string SqlStatement::Blob(int column) const { return cursor_->Blob(column); }

int SqlStatement::Columns() const { return cursor_->Columns(); }

SqlValue SqlStatement::Value(int column) const {
  SqlValue value;
  value.type = cursor_->Type(column);
  if (value.type == SqlType::kInteger) value.integer = cursor_->Int(column);
  if (value.type == SqlType::kText) value.bytes = cursor_->Text(column);
  if (value.type == SqlType::kBlob) value.bytes = cursor_->Blob(column);
  return value;
}

HRESULT InsertRows(SuiteDatabase& db, const std::string& insert, int columns, size_t count,
                   const std::function<void(SqlStatement&, int first, size_t row)>& bind) {
  constexpr size_t kMostRows = 64;
  std::string marks = "(";
  for (int c = 0; c < columns; ++c) marks += c == 0 ? "?" : ", ?";
  marks += ")";
  HRESULT hr = S_OK;
  for (size_t done = 0; SUCCEEDED(hr) && done < count;) {
    size_t rows = kMostRows;
    while (rows > count - done) rows /= 2;
    std::string sql = insert + " VALUES ";
    for (size_t r = 0; r < rows; ++r) sql += (r == 0 ? "" : ", ") + marks;
    SqlStatement statement(db, sql.c_str());
    statement.KeepsBoundBytes();
    for (size_t r = 0; r < rows; ++r) bind(statement, static_cast<int>(r) * columns + 1, done + r);
    hr = statement.Run();
    done += rows;
  }
  return hr;
}

HRESULT AppendRows(SuiteDatabase& db, const std::string& insert, int columns, size_t count,
                   const std::function<void(SqlStatement&, int first, size_t row)>& bind) {
  constexpr std::string_view kInsert = "INSERT INTO ";
  if (db.backend() != SuiteDatabase::Backend::kPostgres || count == 0 ||
      !insert.starts_with(kInsert)) {
    return InsertRows(db, insert, columns, count, bind);
  }
  const std::string copy =
      "COPY " + insert.substr(kInsert.size()) + " FROM STDIN (FORMAT binary)";
  SqlStatement statement(db, copy.c_str());
  for (size_t r = 0; r < count; ++r) bind(statement, static_cast<int>(r) * columns + 1, r);
  return statement.Run();
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
