#include "outside/database/import_batches.h"

#include "outside/database/sql_statement.h"
#include "outside/database/timestamp.h"

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
