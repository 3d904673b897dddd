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

HRESULT RegistraLinhasLote(SuiteDatabase& db, uint32_t lote, const std::string& digesto,
                           int64_t linhas) {
  return db.Write([&] {
    SqlStatement update(db, "UPDATE lotes_importacao SET digesto = ?, linhas = ? WHERE lote = ?");
    update.BindText(1, digesto).Bind(2, linhas).Bind(3, int64_t{lote});
    return update.Run();
  });
}

HRESULT LotesDoDigesto(SuiteDatabase& db, const std::string& digesto,
                       std::vector<LoteImportado>* lotes) {
  lotes->clear();
  return ForEachRow(
      db,
      "SELECT lote, reservado_em, coalesce(linhas, 0) FROM lotes_importacao WHERE digesto = ? "
      "ORDER BY reservado_em DESC, lote DESC",
      [&](SqlStatement& query) { query.BindText(1, digesto); },
      [&](const SqlStatement& linha) {
        lotes->push_back({static_cast<uint32_t>(linha.Int(0)), linha.Text(1), linha.Int(2)});
      });
}

}  // namespace qx
