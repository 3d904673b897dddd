// The batches of imported entries, reserved in the company's suite database. A batch is the
// origin key (module 21) of every entry of one import; its row's primary key makes the
// reservation atomic across processes, so that two imports never get the same batch and
// undoing one never touches another's entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outside/database/suite_database.h"

namespace qx {

// Batches stay below 2^23, so that the origin key stays a positive number.
inline constexpr uint32_t kMaiorLoteImportacao = 0x7FFFFF;

// S_OK when batch `lote` (1 to kMaiorLoteImportacao) is now reserved by this call, S_FALSE
// when it was reserved before; a database failure otherwise.
HRESULT ReservaLoteImportacao(SuiteDatabase& db, uint32_t lote);

// What a batch imported: the digest of its lines and how many there were.
HRESULT RegistraLinhasLote(SuiteDatabase& db, uint32_t lote, const std::string& digesto,
                           int64_t linhas);

struct LoteImportado {
  uint32_t lote = 0;
  std::string reservadoEm;  // "YYYY-MM-DD HH:MM:SS.mmm"
  int64_t linhas = 0;
};

// The batches that imported lines of this digest, the latest first.
HRESULT LotesDoDigesto(SuiteDatabase& db, const std::string& digesto,
                       std::vector<LoteImportado>* lotes);

}  // namespace qx
