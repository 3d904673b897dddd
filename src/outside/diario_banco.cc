#include "outside/diario_banco.h"

namespace qx {

void EsvaziaDiario(SuiteDatabase& db) { db.Execute("PRAGMA wal_checkpoint(TRUNCATE)"); }

}  // namespace qx
