// The change log's schema step: records kept with their ids and bytes in a
// table without AUTOINCREMENT, their events filed and indexed.
#pragma once

#include "outside/database/suite_database.h"

namespace qx {

// Runs inside the migration's transaction; a failure leaves everything as it
// was.
HRESULT MigraLogAlteracoes(SuiteDatabase& db);

}  // namespace qx
