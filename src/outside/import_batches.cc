#include "outside/import_batches.h"

#include "outside/sql_statement.h"
#include "outside/timestamp.h"

namespace qx {

HRESULT ReservaLoteImportacao(SuiteDatabase& db, uint32_t lote) {
  HRESULT reservado = S_FALSE;
  const HRESULT hr = db.Write([&] {
    // The row comes back only when this insert made it; the insert is done
    // by the first step.
    SqlStatement insert(db,
                        "INSERT INTO lotes_importacao (lote, reservado_em) VALUES (?, ?) "
                        "ON CONFLICT (lote) DO NOTHING RETURNING lote");
    insert.Bind(1, lote).BindText(2, TimestampNow());
    reservado = insert.StepOne();
    return FAILED(reservado) ? reservado : S_OK;
  });
  return FAILED(hr) ? hr : reservado;
}

}  // namespace qx
