// Rows loaded by COPY in PostgreSQL's binary format: one exchange for the
// rows of a change-log commit, where an INSERT of many rows takes one each
// few dozen and costs the server more a row.
#include <libpq-fe.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "outside/database/postgres_database.h"

namespace qx {
namespace {

constexpr char kSignature[] = "PGCOPY\n\377\r\n";  // 11 bytes with its final zero
constexpr size_t kPiece = 1 << 20;  // bytes handed to libpq at a time

void Append16(std::string* out, int16_t value) {
  out->push_back(static_cast<char>(static_cast<uint16_t>(value) >> 8));
  out->push_back(static_cast<char>(value & 0xFF));
}

void Append32(std::string* out, int32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out->push_back(static_cast<char>(static_cast<uint32_t>(value) >> shift));
  }
}

// The header, each row as its number of fields and each field as its length
// (-1 for null) and bytes, and the trailer.
std::string CopyData(int columns, const std::vector<PostgresParameter>& values) {
  std::string data(kSignature, sizeof kSignature);
  Append32(&data, 0);  // flags
  Append32(&data, 0);  // no header extension
  for (size_t k = 0; k < values.size(); ++k) {
    if (k % static_cast<size_t>(columns) == 0) Append16(&data, static_cast<int16_t>(columns));
    const PostgresParameter& value = values[k];
    Append32(&data, value.null ? -1 : static_cast<int32_t>(value.bytes.size()));
    if (!value.null) data += value.bytes;
  }
  Append16(&data, -1);
  return data;
}

}  // namespace

HRESULT PostgresDatabase::CopyIn(const std::string& text, int columns,
                                 const std::vector<PostgresParameter>& values) {
  if (values.empty()) return S_OK;
  const bool own = !link_;
  HRESULT hr = Link();
  if (FAILED(hr)) return hr;
  PGresult* answer = PQexec(link_->conn, text.c_str());
  if (PQresultStatus(answer) != PGRES_COPY_IN) {
    hr = Failure(answer);
  } else {
    PQclear(answer);
    const std::string data = CopyData(columns, values);
    bool sent = true;
    for (size_t done = 0; sent && done < data.size(); done += kPiece) {
      const size_t piece = std::min(kPiece, data.size() - done);
      sent = PQputCopyData(link_->conn, data.data() + done, static_cast<int>(piece)) == 1;
    }
    // A failure to send shows in the result, as the server's refusals do.
    PQputCopyEnd(link_->conn, sent ? nullptr : "dados incompletos");
    answer = PQgetResult(link_->conn);
    if (PQresultStatus(answer) == PGRES_COMMAND_OK) {
      PQclear(answer);
    } else {
      hr = Failure(answer);
    }
    while ((answer = PQgetResult(link_->conn)) != nullptr) PQclear(answer);
  }
  Release(own);
  return hr;
}

}  // namespace qx
