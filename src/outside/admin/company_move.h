// Moving a company's suite data between its SQLite file and a PostgreSQL
// database, every row with its id.
//
// The move holds the company alone (company_use.h), so that no program of any
// workstation has it open meanwhile; copies every table in one transaction of
// the new database; reads the copy back and compares each table's row count
// and checksum with what it read; and only then points the registry at the
// new database. Whatever stops it before that leaves the company working on
// its old database: the new SQLite file is built beside the old one under
// another name, and a PostgreSQL transaction that did not commit leaves
// nothing. The old database stays as it was, as a copy.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "outside/admin/table_copy.h"
#include "platform/registry.h"

namespace qx {

struct Mudanca {
  std::string de, para;               // what messages call the two databases
  std::vector<ResumoTabela> tabelas;  // as read from the old, and found in the new
};

// Moves the company to the PostgreSQL database that the connection value
// `postgres` names (which must hold no tables), or back to SQLite in the
// company's "DF" folder when `postgres` is empty. Failures: E_INVALIDARG (a
// bad connection value, or the company is there already),
// E_QXDF_EMPRESA_EM_USO, the codes of both databases, and E_QXDF_BANCO_FALHA
// for a copy that does not match; *message says what and what to do.
HRESULT MoveCompany(const Registry& registry, std::string_view company, const std::string& postgres,
                    Mudanca* mudanca, std::string* message);

}  // namespace qx
