// The PostgreSQL database of a company, as its registry key names it in the
// value "ConexaoPostgreSQL": a libpq connection string ("host=servidor
// dbname=acme user=ostrel"), a URI ("postgresql://servidor/acme"), or the
// name of a service of pg_service.conf (PGSERVICEFILE). A company whose key
// has no such value keeps its database in SQLite.
//
// Passwords never go there: libpq takes them from ~/.pgpass (or the file
// PGPASSFILE names) of the user the server runs as. A value that holds one is
// refused, so that it never reaches the registry, a command line or a log.
#pragma once

#include <string>
#include <string_view>

#include "platform/com_types.h"

namespace qx {

inline constexpr char kConexaoPostgreSQL[] = "ConexaoPostgreSQL";

// S_OK for a value that names a database without a password; otherwise
// E_INVALIDARG, and *message (Windows-1252) says what is wrong and how it is
// written.
HRESULT ValidaConexaoPostgres(std::string_view value, std::string* message);

// The connection string libpq reads: a service name becomes "service=NAME".
std::string TextoConexaoPostgres(std::string_view value);

// What messages call the database.
std::string NomeBancoPostgres(std::string_view value);

}  // namespace qx
