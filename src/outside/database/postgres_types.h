// The PostgreSQL types the suite's columns and parameters take, by the
// numbers (OIDs) the server gives them.
#pragma once

#include "outside/database/sql_cursor.h"

namespace qx {

inline constexpr unsigned kOidBool = 16;
inline constexpr unsigned kOidBytea = 17;
inline constexpr unsigned kOidInt8 = 20;
inline constexpr unsigned kOidInt2 = 21;
inline constexpr unsigned kOidInt4 = 23;
inline constexpr unsigned kOidText = 25;
inline constexpr unsigned kOidOid = 26;

// The type of a parameter of a kind; 0 (the statement tells) for kNull.
inline unsigned PostgresOid(SqlType kind) {
  switch (kind) {
    case SqlType::kInteger:
      return kOidInt8;
    case SqlType::kText:
      return kOidText;
    case SqlType::kBlob:
      return kOidBytea;
    case SqlType::kNull:
      break;
  }
  return 0;
}

// The kind of a value that is not null.
inline SqlType PostgresValueType(unsigned oid) {
  switch (oid) {
    case kOidBool:
    case kOidInt8:
    case kOidInt2:
    case kOidInt4:
    case kOidOid:
      return SqlType::kInteger;
    case kOidBytea:
      return SqlType::kBlob;
    default:
      return SqlType::kText;
  }
}

}  // namespace qx
