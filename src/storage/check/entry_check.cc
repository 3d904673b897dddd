// The entry records of a month and their foreign-currency records.
#include <string>

#include "storage/check/month_check.h"
#include "storage/check/record_shape.h"
#include "values/calendar.h"

namespace qx::check {
namespace {

// Days of the file's month; 31 for the month part "0000", which names no month.
int DaysOf(CQXMesAno mesAno) {
  return mesAno.IsEmpty() ? 31 : DaysInMonth(mesAno.Month(), mesAno.Year());
}

bool AnyNonZero(const uint8_t (&bytes)[4]) {
  return bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 0 || bytes[3] != 0;
}

void CheckComplementOffset(const MonthView& month, uint64_t p, const EntryRecord& entry,
                           Findings* findings) {
  if (entry.Complemento == 0) return;
  const auto& heap = month.files.complements;
  std::string reason = "complement offset " + std::to_string(entry.Complemento);
  if (entry.Complemento < 0) {
    reason += " is negative";
  } else if (!heap) {
    reason += ", but the month has no CNLH";
  } else if (static_cast<uint64_t>(entry.Complemento) >= heap->Length()) {
    reason +=
        " is past the end of " + heap->name + " (" + std::to_string(heap->Length()) + " bytes)";
  } else {
    return;
  }
  findings->At("complement-offset", month.files.entries->name, Unit::kRecord, p, reason);
}

}  // namespace

void CheckEntries(const MonthView& month, Findings* findings, DifferenceTally* tally) {
  const LoadedFile& file = *month.files.entries;
  const int days = DaysOf(month.mesAno);
  for (uint64_t p = 1; p <= month.entries; ++p) {
    const auto entry = file.At<EntryRecord>(p);
    if (entry.cStatus > kEntryLiveWithCurrency) {
      findings->At("entry-status", file.name, Unit::kRecord, p,
                   "status " + std::to_string(entry.cStatus) +
                       " is none of 0 (live), 1 (deleted), 2 (live with a CNLM record)");
    }
    if (entry.cDia < 1 || entry.cDia > days) {
      findings->At(
          "entry-day", file.name, Unit::kRecord, p,
          "day " + std::to_string(entry.cDia) + " in a month of " + std::to_string(days) + " days");
    }
    if (AnyNonZero(entry.cFiller)) {
      findings->At("entry-filler", file.name, Unit::kRecord, p, "filler bytes not zero");
    }
    CheckComplementOffset(month, p, entry, findings);
    if (entry.cStatus == kEntryDeleted) continue;
    if (entry.cStatus == kEntryLiveWithCurrency && p > month.currency) {
      findings->At("currency-missing", file.name, Unit::kRecord, p,
                   month.files.currency ? "past the end of " + month.files.currency->name
                                        : std::string("the month has no CNLM"));
    }
    tally->AddEntry(CQXData::FromMesAno(month.mesAno, entry.cDia), entry.Filial,
                    OneSidedAmount(entry));
  }
}

void CheckCurrency(const MonthView& month, Findings* findings) {
  const auto& file = month.files.currency;
  if (!file) return;
  for (uint64_t p = 1; p <= month.currency; ++p) {
    if (AnyNonZero(file->At<CurrencyRecord>(p).cFiller)) {
      findings->At("currency-filler", file->name, Unit::kRecord, p, "filler bytes not zero");
    }
  }
  if (month.files.entries && month.currency > month.entries) {
    findings->Run("currency-beyond", file->name, Unit::kRecord, month.entries + 1, month.currency,
                  "the month's CNLC holds " + std::to_string(month.entries) + " entries");
  }
}

}  // namespace qx::check
