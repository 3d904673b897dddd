// The change log's schema step: records kept with their ids and bytes in a
// table without AUTOINCREMENT, their events filed and indexed.
#pragma once

#include "outside/database/suite_database.h"

namespace qx {

// Runs inside the migration's transaction; a failure leaves everything as it
// was.
HRESULT MigraLogAlteracoes(SuiteDatabase& db);

// The step after which SQLite's writer of the records gives them their ids
// (ProximoRegistroSqlite), rather than a trigger that ran for every record
// stored; on PostgreSQL it changes nothing.
HRESULT MigraIdsPeloGravador(SuiteDatabase& db);

}  // namespace qx
