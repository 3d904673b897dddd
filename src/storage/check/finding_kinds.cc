// The kinds of findings and their gravity. A kind is admitted only where the
// system's own writing leaves that state: a save appends the complement text,
// takes an updated entry's old amounts off the totals, writes the entry record,
// then its currency amount, its new totals and its split lines, in this order,
// and a save that fails takes them back in the reverse order; a removal takes
// the entry's amounts off the totals, writes its status and then zeroes its
// split lines from the first; a write that fails part way is cut back, and an
// append writes over a partial record left at a file's end; re-creating a
// month empties its entry, split and complement files and keeps CNLQ and
// CNLM; removing a month deletes CNLC, CNLG and CNLH in this order; nothing is
// ever moved. Saves and removals of a company run one at a time, so each one
// that stops leaves its traces on one entry.
#include <algorithm>
#include <cstdlib>

#include "storage/check/finding.h"

namespace qx::check {
namespace {

constexpr Gravity D = Gravity::kDamage;
constexpr Gravity A = Gravity::kAdmitted;

constexpr FindingKind kKinds[] = {
    {"unreadable", D, "the file cannot be opened or read, or the name is not a file"},
    {"file-vanished", A,
     "a month file that QXCTLARQ.DAT lists as created is gone: removed with its month, deleted, "
     "or its creation stopped after listing it; the month's reads and saves that need it fail "
     "with 16055 until the month is made again"},
    {"name-case", D, "two files whose names differ only in case"},
    {"empty-file", A, "a record file of 0 bytes: its creation stopped before the zero record"},
    {"short-file", D, "a record file shorter than its zero record"},
    {"partial-tail", A,
     "the file ends in part of a record: a write stopped part way; reads end before it and the "
     "next append writes over it"},
    {"zero-record", D, "record 0 (byte 0 of a heap) is not as the system writes it"},
    {"entry-status", D, "an entry's status byte is none of 0, 1, 2"},
    {"entry-day", D, "an entry's day byte is not a day of the file's month"},
    {"entry-filler", D, "an entry's four filler bytes are not zero"},
    {"complement-offset", D, "an entry's complement offset lies outside the month's CNLH"},
    {"complement-orphan", A,
     "complement bytes in no entry's text: replaced texts, or the text of a save that stopped"},
    {"month-without-entries", A, "CNLG or CNLH of a month without CNLC: a month removal stopped"},
    {"split-position", D, "an entry's split position lies outside the month's CNLG"},
    {"split-owner", D, "the first line of an entry's split does not carry the entry's index"},
    {"split-shared", D, "a split line belongs to the chains of two entries"},
    {"split-not-cleared", D, "a deleted entry's split position names another entry's line"},
    {"split-uncleared", A,
     "a deleted entry's split lines are not zeroed yet: a removal stopped after the status"},
    {"split-zeroed", A,
     "a live entry's first split line is zeroed: a removal that clears the lines before the "
     "status stopped"},
    {"split-orphan", A,
     "split lines in no live entry's chain: a save or redistribution stopped before attaching, "
     "or a removal before clearing"},
    {"quantity-missing", A, "split lines past the end of CNLQ: a save stopped before the quantity"},
    {"quantity-beyond", A, "CNLQ records past the end of CNLG: the month was made again"},
    {"currency-filler", D, "a foreign-currency record's four filler bytes are not zero"},
    {"currency-missing", A, "an entry of status 2 without its CNLM record: a save stopped"},
    {"currency-beyond", A, "CNLM records past the end of CNLC: the month was made again"},
    {"difference-date", D, "a non-zero difference total without a valid date"},
    {"difference-stale", D, "a zero difference total that still holds a branch or user"},
    {"difference-branch", D,
     "a difference record with a branch although totals are not per branch"},
    {"difference-user", D, "a difference record with a user although the grouping has none"},
    {"difference-duplicate", D, "a second record of one key, which no lookup reaches"},
    {"difference-overflow", D,
     "a key's totals, or its entries' one-sided amounts, add up beyond the largest amount"},
    {"difference-total", D,
     "the stored totals of a key differ from the entries' one-sided amounts"},
    {"difference-unfinished", A,
     "a key's totals lack exactly one live entry's amount: a save or removal stopped"},
    {"control-name", D, "a name in QXCTLARQ.DAT is not as controlled creation writes it"},
    {"control-duplicate", D, "a name listed twice in QXCTLARQ.DAT"},
    {"layout-field", D, "an import layout that its save would refuse, or a non-zero filler"},
    {"layout-temporary", A, "CNFORIMP.TMP is left over: a layout removal stopped"},
    {"note-offset", D, "a note's text offset is not the start of a text in CNNTEXCP.DAT"},
    {"note-text", D, "a note's text has no terminating zero byte or is too long"},
    {"note-filler", D, "a note index record's filler bytes are not zero"},
    {"note-orphan", A, "note texts no index record names: replaced notes, or a write that stopped"},
};

}  // namespace

std::span<const FindingKind> FindingKinds() { return kKinds; }

const FindingKind* FindKind(std::string_view name) {
  for (const FindingKind& kind : kKinds) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

void Findings::Add(std::string_view kind, const std::string& file, std::string reason) {
  Run(kind, file, Unit::kFile, 0, 0, std::move(reason));
}

void Findings::At(std::string_view kind, const std::string& file, Unit unit, uint64_t position,
                  std::string reason) {
  Run(kind, file, unit, position, position, std::move(reason));
}

void Findings::Run(std::string_view kind, const std::string& file, Unit unit, uint64_t first,
                   uint64_t last, std::string reason) {
  const FindingKind* known = FindKind(kind);
  if (known == nullptr) std::abort();  // a kind missing from the table is a programming error
  findings_.push_back({known, file, unit, first, last, std::move(reason)});
}

size_t Findings::Count(Gravity gravity) const {
  return static_cast<size_t>(
      std::count_if(findings_.begin(), findings_.end(),
                    [&](const Finding& f) { return f.kind->gravity == gravity; }));
}

}  // namespace qx::check
