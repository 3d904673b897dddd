// The debit/credit difference file "CNDIFDC.DAT" against the one-sided
// amounts of the entries. An entry without credit account adds +Valor, one
// without debit account -Valor, under its date (or its calendar month) and,
// when totals are kept per branch, its branch. The file also tells the users
// apart in some groupings, but an entry does not record its writer's user, so
// totals are compared summed over the users.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "storage/check/finding.h"
#include "storage/check/folder_files.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"

namespace qx::check {

// The company's options that shape the keys, as its configuration gives them
// (the accounting master's grouping mode, 0 to 3, and per-branch flag).
struct DifferenceOptions {
  uint16_t modo = 0;  // 0 date and user, 1 date, 2 month and user, 3 month
  bool porFilial = false;
};

// A sum of amounts, checked: once it leaves the range of an amount it stays
// overflowed and its value means nothing.
struct CheckedSum {
  int64_t value = 0;
  bool overflow = false;
  void Add(int64_t amount) { overflow = overflow || __builtin_add_overflow(value, amount, &value); }
  void Add(const CheckedSum& other) {
    Add(other.value);
    overflow = overflow || other.overflow;
  }
};

// The entry's contribution to the totals: +Valor without credit account,
// -Valor without debit account (so 0 with neither); overflowed when that lies
// beyond the range of an amount.
CheckedSum OneSidedAmount(const EntryRecord& entry);

class DifferenceTally {
 public:
  explicit DifferenceTally(DifferenceOptions options) : options_(options) {}

  const DifferenceOptions& options() const { return options_; }
  // A month whose entry file is in the folder.
  void AddMonth(CQXMesAno mesAno) { months_.insert(mesAno.Value()); }
  void AddEntry(CQXData date, uint16_t filial, const CheckedSum& amount);
  // Whether the entries behind a stored total of that date are in the folder:
  // a removed month leaves its totals behind. In the month groupings the
  // month number spans every year, so every total counts.
  bool Covers(uint32_t date) const;

  // A key summed over users: the date's day number, or its calendar month
  // (1 to 12) in the month groupings; the branch, or 0.
  struct Key {
    uint32_t group = 0;
    uint16_t filial = 0;
    auto operator<=>(const Key&) const = default;
  };
  Key KeyOf(uint32_t date, uint16_t filial) const;

  struct Expected {
    CheckedSum total;           // sum of the amounts
    std::set<int64_t> amounts;  // each entry's amount, for an unfinished save
  };
  const std::map<Key, Expected>& expected() const { return expected_; }

 private:
  DifferenceOptions options_;
  std::map<Key, Expected> expected_;
  std::set<uint16_t> months_;
};

void CheckDifferences(const std::optional<LoadedFile>& file, const DifferenceTally& tally,
                      Findings* findings);

}  // namespace qx::check
