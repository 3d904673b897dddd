// SQL written once for both backends, as PostgreSQL reads it. Texts outside
// quotes change; quoted texts and identifiers stay as they are.
//
// Statements: parameters ? (numbered in their order) and ?N become $N, and
// SQLite's index hint "INDEXED BY name" is dropped (PostgreSQL's planner
// chooses by itself).
//
// Schema scripts besides: INTEGER becomes BIGINT (SQLite's integers have 64
// bits), INTEGER PRIMARY KEY AUTOINCREMENT an identity column, TEXT a text
// compared byte by byte as SQLite compares it (collation "C"), BLOB BYTEA,
// and WITHOUT ROWID is dropped. Keywords are recognised in capitals, as the
// suite writes them; names are in small letters.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// *parameters gets the number of parameters the statement takes.
std::string PostgresStatement(std::string_view sql, int* parameters);
std::string PostgresScript(std::string_view sql);

}  // namespace qx
