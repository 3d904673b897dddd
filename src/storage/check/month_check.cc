#include "storage/check/month_check.h"

#include "storage/check/record_shape.h"
#include "storage/records/entry_records.h"

namespace qx::check {
namespace {

uint64_t Shape(const std::optional<LoadedFile>& file, uint32_t size, Findings* findings) {
  return file ? CheckRecordShape(*file, size, findings) : 0;
}

}  // namespace

void CheckMonth(CQXMesAno mesAno, const MonthFiles& files, Findings* findings,
                DifferenceTally* tally) {
  MonthView month{mesAno, files};
  month.entries = Shape(files.entries, kEntryRecordSize, findings);
  month.lines = Shape(files.splits, kSplitRecordSize, findings);
  month.quantities = Shape(files.quantities, kQuantityRecordSize, findings);
  month.currency = Shape(files.currency, kCurrencyRecordSize, findings);
  if (files.entries) {
    tally->AddMonth(mesAno);
    CheckEntries(month, findings, tally);
    CheckSplits(month, findings);
  } else {
    // A month removal deletes CNLC first, then CNLG and CNLH (CNLQ and CNLM stay).
    for (const auto* file : {&files.splits, &files.complements}) {
      if (*file) {
        findings->Add("month-without-entries", (*file)->name, "o mês não tem CNLC");
      }
    }
  }
  CheckCurrency(month, findings);
  CheckComplements(month, findings);
}

}  // namespace qx::check
