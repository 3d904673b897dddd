#include "outside/change_log/diario_banco.h"

#include "platform/disk_space.h"

namespace qx {

void EsvaziaDiario(SuiteDatabase& db) {
  // PostgreSQL's server keeps its own journal.
  if (db.backend() != SuiteDatabase::Backend::kSqlite || FreeBytes(db.file()) >= kFolgaDiario) {
    return;
  }
  db.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
}

}  // namespace qx
