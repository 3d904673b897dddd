// The schema of the suite database and its migration steps.
#pragma once

#include <cstdint>

#include "outside/suite_database.h"

namespace qx {

struct SchemaState {
  int64_t version = 0;        // PRAGMA user_version
  int64_t applicationId = 0;  // PRAGMA application_id
  int64_t tables = 0;         // tables of any kind in the file
};

HRESULT ReadSchemaState(SuiteDatabase& db, SchemaState* state);

// Brings the schema from the version it has up to kSuiteSchemaVersion, one
// step per version. Runs inside the caller's write transaction, which reads
// the version again so that two processes never run the same step.
HRESULT MigrateSchema(SuiteDatabase& db);

}  // namespace qx
