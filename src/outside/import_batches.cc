#include "outside/import_batches.h"

#include <sqlite3.h>

#include "outside/sql_statement.h"
#include "outside/timestamp.h"

namespace qx {

HRESULT ReservaLoteImportacao(SuiteDatabase& db, uint32_t lote) {
  bool reservado = false;
  const HRESULT hr = db.Write([&] {
    SqlStatement insert(db,
                        "INSERT INTO lotes_importacao (lote, reservado_em) VALUES (?, ?) "
                        "ON CONFLICT (lote) DO NOTHING");
    insert.Bind(1, lote).BindText(2, TimestampNow());
    const HRESULT run = insert.Run();
    reservado = SUCCEEDED(run) && sqlite3_changes(db.handle()) == 1;
    return run;
  });
  if (FAILED(hr)) return hr;
  return reservado ? S_OK : S_FALSE;
}

}  // namespace qx
