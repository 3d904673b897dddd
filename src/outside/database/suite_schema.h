// The schema of the suite database and its migration steps, one text for
// both backends (see "Writing a schema step" in suite_schema.cc).
#pragma once

#include "outside/database/suite_database.h"

namespace qx {

// Brings the schema from the version it has up to kSuiteSchemaVersion, one
// step per version. Runs inside the caller's write transaction, which reads
// the version again so that two processes never run the same step.
HRESULT MigrateSchema(SuiteDatabase& db);

}  // namespace qx
