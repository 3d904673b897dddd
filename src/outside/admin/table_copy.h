// The rows of the suite's tables copied from one database to another, ids and
// all, and the count and checksum of each table that verify the copy. A
// table is read in the order of its primary key, a page at a time, so that
// the figures of one table agree on both backends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outside/database/suite_database.h"

namespace qx {

struct ResumoTabela {
  std::string nome;
  int64_t linhas = 0;
  uint64_t soma = 0;  // CRC-64 of every value of every row, in order

  bool operator==(const ResumoTabela&) const = default;
};

// The suite's tables of db in the order a copy fills them: by name, each
// after the tables its foreign keys name.
HRESULT OrdemDeCopia(SuiteDatabase& db, std::vector<TableShape>* tabelas);

// The count and checksum of each table, in one read transaction.
HRESULT ResumeTabelas(SuiteDatabase& db, const std::vector<TableShape>& tabelas,
                      std::vector<ResumoTabela>* resumos);

// Empties the tables of `para` (whose tables have the same columns) and
// copies into them every row of `de`, inside the callers' transactions
// (a read of `de`, a write of `para`); *resumos describe what was read, and
// *message what failed.
HRESULT CopiaTabelas(SuiteDatabase& de, SuiteDatabase& para, const std::vector<TableShape>& tabelas,
                     std::vector<ResumoTabela>* resumos, std::string* message);

}  // namespace qx
