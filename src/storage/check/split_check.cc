// The split lines of a month (CNLG) against their entries, and the
// quantities (CNLQ) beside them. An entry's chain is the line at its split
// position and every following line whose owner word agrees in bits 0-27;
// the owner word is the client's value OR-ed with the entry's index.
#include <string>
#include <vector>

#include "storage/check/month_check.h"
#include "storage/check/record_shape.h"
#include "storage/check/text_forms.h"

namespace qx::check {
namespace {

uint32_t OwnerOf(const REGLAN_GER& line) { return line.Indlan & kSplitOwnerMask; }

// Whether the line's owner word holds the bits of entry `index`.
bool Owns(uint64_t index, const REGLAN_GER& line) {
  const uint32_t bits = static_cast<uint32_t>(index) & kSplitOwnerMask;
  return (OwnerOf(line) & bits) == bits;
}

class SplitWalk {
 public:
  SplitWalk(const MonthView& month, Findings* findings)
      : month_(month), findings_(findings), owners_(month.lines + 1, 0) {}

  void Entry(uint64_t index, const EntryRecord& entry) {
    const int32_t first = entry.Gerencial;
    if (first == 0) return;
    const std::string& name = month_.files.entries->name;
    if (first < 0 || static_cast<uint64_t>(first) > month_.lines) {
      std::string reason = "posição de rateio " + std::to_string(first);
      reason += month_.files.splits ? " fora de " + month_.files.splits->name + " (" +
                                          Counted(month_.lines, "linha") + ")"
                                    : std::string(", mas o mês não tem CNLG");
      findings_->At("split-position", name, Unit::kRecord, index, reason);
      return;
    }
    const uint64_t g = static_cast<uint64_t>(first);
    const bool zeroed = Zeroed(g);
    if (entry.cStatus == kEntryDeleted) {
      // A removal clears the chain from its first line on, after the status.
      if (!zeroed) {
        findings_->At(Owns(index, Line(g)) ? "split-uncleared" : "split-not-cleared", name,
                      Unit::kRecord, index,
                      "excluído, mas a linha " + std::to_string(g) + " não está zerada");
      }
      return;
    }
    if (zeroed) {
      findings_->At("split-zeroed", name, Unit::kRecord, index,
                    "a linha " + std::to_string(g) + " está zerada");
      return;
    }
    if (!Owns(index, Line(g))) {
      findings_->At("split-owner", name, Unit::kRecord, index,
                    "a linha " + std::to_string(g) + " tem a palavra de dono " +
                        std::to_string(Line(g).Indlan));
      return;
    }
    const uint32_t owner = OwnerOf(Line(g));
    for (uint64_t p = g; p <= month_.lines && !Zeroed(p) && OwnerOf(Line(p)) == owner; ++p) {
      if (owners_[p] != 0) {
        findings_->At("split-shared", month_.files.splits->name, Unit::kRecord, p,
                      "nas cadeias dos lançamentos " + std::to_string(owners_[p]) + " e " +
                          std::to_string(index));
        return;
      }
      owners_[p] = index;
      lastChained_ = std::max(lastChained_, p);
    }
  }

  // Runs of non-zero lines that no live entry's chain holds.
  void Orphans() const {
    uint64_t start = 0;
    for (uint64_t p = 1; p <= month_.lines + 1; ++p) {
      const bool orphan = p <= month_.lines && owners_[p] == 0 && !Zeroed(p);
      if (orphan && start == 0) start = p;
      if (!orphan && start != 0) {
        findings_->Run("split-orphan", month_.files.splits->name, Unit::kRecord, start, p - 1,
                       "palavra de dono " + std::to_string(Line(start).Indlan) +
                           ": fora da cadeia de qualquer lançamento ativo");
        start = 0;
      }
    }
  }

  uint64_t lastChained() const { return lastChained_; }

 private:
  REGLAN_GER Line(uint64_t p) const { return month_.files.splits->At<REGLAN_GER>(p); }
  bool Zeroed(uint64_t p) const {
    return AllZero(*month_.files.splits, p * kSplitRecordSize, kSplitRecordSize);
  }

  const MonthView& month_;
  Findings* findings_;
  std::vector<uint64_t> owners_;  // entry whose chain holds each line, 0 for none
  uint64_t lastChained_ = 0;
};

void CheckQuantities(const MonthView& month, uint64_t lastChained, Findings* findings) {
  const auto& file = month.files.quantities;
  if (!file) return;
  if (lastChained > month.quantities) {
    findings->Run("quantity-missing", month.files.splits->name, Unit::kRecord, month.quantities + 1,
                  lastChained, "linhas encadeadas sem registro em " + file->name);
  }
  if (month.files.splits && month.quantities > month.lines) {
    findings->Run("quantity-beyond", file->name, Unit::kRecord, month.lines + 1, month.quantities,
                  "o CNLG do mês tem " + Counted(month.lines, "linha"));
  }
}

}  // namespace

void CheckSplits(const MonthView& month, Findings* findings) {
  if (!month.files.entries) return;
  SplitWalk walk(month, findings);
  for (uint64_t p = 1; p <= month.entries; ++p) {
    walk.Entry(p, month.files.entries->At<EntryRecord>(p));
  }
  if (!month.files.splits) return;
  walk.Orphans();
  CheckQuantities(month, walk.lastChained(), findings);
}

}  // namespace qx::check
