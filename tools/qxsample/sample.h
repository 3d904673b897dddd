// The parts of the sample company folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/records/difference_record.h"
#include "values/qx_mes_ano.h"

namespace qx::sample {

// Running totals of one-sided amounts by date, kept as the entry service
// keeps them with grouping by date and branches not told apart: a total that
// returns to 0 frees its record, which the next new date takes.
class DifferenceBook {
 public:
  void Add(uint32_t date, int64_t amount);
  const std::vector<DifferenceRecord>& Records() const { return records_; }

 private:
  std::vector<DifferenceRecord> records_;  // positions 1, 2, ...
};

// The five files of one month: entries with complements, split lines with
// quantities, a foreign-currency amount, an imported entry, a deleted entry.
// One-sided entries go to the book.
void WriteMonth(const std::string& folder, CQXMesAno mesAno, DifferenceBook* book,
                std::vector<std::string>* made);

void WriteDifferences(const std::string& folder, const DifferenceBook& book,
                      std::vector<std::string>* made);
void WriteImportLayouts(const std::string& folder, std::vector<std::string>* made);
void WriteNotes(const std::string& folder, CQXMesAno mesAno, std::vector<std::string>* made);
// Lists every name made, as controlled creation would have.
void WriteControlFile(const std::string& folder, const std::vector<std::string>& made);

}  // namespace qx::sample
