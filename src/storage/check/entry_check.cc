// The entry records of a month and their foreign-currency records.
#include <string>

#include "storage/check/month_check.h"
#include "storage/check/record_shape.h"
#include "storage/check/text_forms.h"
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
  std::string reason = "posição de complemento " + std::to_string(entry.Complemento);
  if (entry.Complemento < 0) {
    reason += " negativa";
  } else if (!heap) {
    reason += ", mas o mês não tem CNLH";
  } else if (static_cast<uint64_t>(entry.Complemento) >= heap->Length()) {
    reason += " além do fim de " + heap->name + " (" + std::to_string(heap->Length()) + " bytes)";
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
                   "situação " + std::to_string(entry.cStatus) +
                       " não é 0 (ativo), 1 (excluído) nem 2 (ativo com registro no CNLM)");
    }
    if (entry.cDia < 1 || entry.cDia > days) {
      findings->At(
          "entry-day", file.name, Unit::kRecord, p,
          "dia " + std::to_string(entry.cDia) + " num mês de " + std::to_string(days) + " dias");
    }
    if (AnyNonZero(entry.cFiller)) {
      findings->At("entry-filler", file.name, Unit::kRecord, p, "bytes de preenchimento não zero");
    }
    CheckComplementOffset(month, p, entry, findings);
    if (entry.cStatus == kEntryDeleted) continue;
    if (entry.cStatus == kEntryLiveWithCurrency && p > month.currency) {
      findings->At("currency-missing", file.name, Unit::kRecord, p,
                   month.files.currency ? "além do fim de " + month.files.currency->name
                                        : std::string("o mês não tem CNLM"));
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
      findings->At("currency-filler", file->name, Unit::kRecord, p,
                   "bytes de preenchimento não zero");
    }
  }
  if (month.files.entries && month.currency > month.entries) {
    findings->Run("currency-beyond", file->name, Unit::kRecord, month.entries + 1, month.currency,
                  "o CNLC do mês tem " + Counted(month.entries, "lançamento"));
  }
}

}  // namespace qx::check
