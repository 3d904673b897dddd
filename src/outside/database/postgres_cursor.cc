#include "outside/database/postgres_cursor.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "outside/database/postgres_types.h"
#include "outside/database/sql_dialect.h"

namespace qx {
namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : 0;
}

}  // namespace

PostgresCursor::PostgresCursor(PostgresDatabase& db, const char* sql) : db_(db) {
  int count = 0;
  text_ = PostgresStatement(sql, &count);
  parameters_.resize(static_cast<size_t>(count));
  const std::string_view text(sql);
  if (text.starts_with("COPY ")) {
    const std::string_view columns = text.substr(0, text.find(')')).substr(text.find('(') + 1);
    copyColumns_ = 1 + static_cast<int>(std::count(columns.begin(), columns.end(), ','));
  }
}

PostgresCursor::~PostgresCursor() { PQclear(result_); }

void PostgresCursor::Reset() {
  PQclear(result_);
  result_ = nullptr;
  row_ = -1;
  ran_ = false;
  for (PostgresParameter& parameter : parameters_) parameter = PostgresParameter();
  if (copyColumns_ > 0) parameters_.clear();
}

PostgresParameter& PostgresCursor::At(int index) {
  // A parameter the text does not take is kept aside, for PostgreSQL to refuse.
  if (index < 1) index = static_cast<int>(parameters_.size()) + 1;
  if (static_cast<size_t>(index) > parameters_.size()) parameters_.resize(index);
  PostgresParameter& parameter = parameters_[index - 1];
  parameter.null = false;
  return parameter;
}

void PostgresCursor::BindNull(int index, SqlType kind) {
  At(index) = PostgresParameter{PostgresOid(kind), true, {}};
}

void PostgresCursor::BindInt(int index, int64_t value) {
  PostgresParameter& parameter = At(index);
  parameter.type = PostgresOid(SqlType::kInteger);
  parameter.bytes.resize(8);
  for (int i = 0; i < 8; ++i) {
    parameter.bytes[i] = static_cast<char>(static_cast<uint64_t>(value) >> (56 - 8 * i));
  }
}

void PostgresCursor::BindText(int index, std::string_view utf8) {
  PostgresParameter& parameter = At(index);
  parameter.type = PostgresOid(SqlType::kText);
  parameter.bytes.assign(utf8);
}

void PostgresCursor::BindBlob(int index, const void* data, size_t size) {
  PostgresParameter& parameter = At(index);
  parameter.type = PostgresOid(SqlType::kBlob);
  parameter.bytes.assign(static_cast<const char*>(data), size);
}

HRESULT PostgresCursor::Step(bool* row) {
  *row = false;
  if (!ran_) {
    ran_ = true;
    const HRESULT hr = copyColumns_ > 0 ? db_.CopyIn(text_, copyColumns_, parameters_)
                                        : db_.Query(text_, parameters_, &result_);
    if (FAILED(hr)) return hr;
  }
  if (result_ != nullptr && row_ + 1 < PQntuples(result_)) {
    ++row_;
    *row = true;
  }
  return S_OK;
}

int PostgresCursor::Columns() const { return result_ != nullptr ? PQnfields(result_) : 0; }

SqlType PostgresCursor::Type(int column) const {
  if (PQgetisnull(result_, row_, column)) return SqlType::kNull;
  return PostgresValueType(PQftype(result_, column));
}

int64_t PostgresCursor::Int(int column) const {
  const char* value = PQgetvalue(result_, row_, column);
  if (*value == 't' || *value == 'f') return *value == 't';
  return std::strtoll(value, nullptr, 10);
}

std::string_view PostgresCursor::Text(int column) const {
  return std::string_view(PQgetvalue(result_, row_, column),
                          static_cast<size_t>(PQgetlength(result_, row_, column)));
}

std::string PostgresCursor::Blob(int column) const {
  const std::string_view text = Text(column);
  if (PQftype(result_, column) != kOidBytea || !text.starts_with("\\x")) return std::string(text);
  std::string bytes((text.size() - 2) / 2, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(Hex(text[2 + 2 * i]) << 4 | Hex(text[3 + 2 * i]));
  }
  return bytes;
}

std::unique_ptr<SqlCursor> PostgresDatabase::NewCursor(const char* sql, bool) {
  return std::make_unique<PostgresCursor>(*this, sql);
}

}  // namespace qx
