// The room the suite database takes on its disk for what is written to it.
#pragma once

#include <cstdint>

#include "outside/database/suite_database.h"

namespace qx {

// The room that change-log records of `bytes` (their data and about as much
// again per record for the row and its indexes) take on the database's disk
// in the worst case: their pages in the journal, and again in the database
// once the journal is copied into it, with the events filed from them.
constexpr uint64_t EspacoNoBanco(uint64_t bytes) {
  constexpr uint64_t kPagina = 4096;
  constexpr uint64_t kPaginasFixas = 8;  // the pages every transaction touches
  return 2 * (2 * bytes + kPaginasFixas * kPagina);
}

// Below this room on the database's disk, a large write empties the journal
// at once. Above it SQLite's own copies, every thousand pages or so, keep the
// journal at a few megabytes (its size limit is 0, so each copy gives the
// room back at the next write), and a copy after every large write would only
// repeat their syncs: an import writes one every 2,048 entries.
inline constexpr uint64_t kFolgaDiario = 64ull << 20;

// Copies what the journal (SQLite's WAL) holds into the database and empties
// it, so that the room a large write took there goes back to a disk with less
// than kFolgaDiario left. Best effort: readers that still need the journal's
// pages leave it as it is, and the next large write tries again.
void EsvaziaDiario(SuiteDatabase& db);

}  // namespace qx
