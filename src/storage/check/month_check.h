// The checks of one month's files (CNLC, CNLG, CNLQ, CNLM, CNLH).
#pragma once

#include <cstdint>

#include "storage/check/difference_check.h"
#include "storage/check/finding.h"
#include "storage/check/folder_files.h"
#include "values/qx_mes_ano.h"

namespace qx::check {

// One month with the whole records of each of its record files (0 for a
// missing file).
struct MonthView {
  CQXMesAno mesAno;
  const MonthFiles& files;
  uint64_t entries = 0;
  uint64_t lines = 0;
  uint64_t quantities = 0;
  uint64_t currency = 0;
};

// Checks every file of the month; the one-sided amounts of its live entries
// go to the tally.
void CheckMonth(CQXMesAno mesAno, const MonthFiles& files, Findings* findings,
                DifferenceTally* tally);

// The month files that QXCTLARQ.DAT lists as created and that are gone.
void CheckVanishedMonthFiles(const FolderFiles& files, Findings* findings);

// Parts of CheckMonth.
void CheckEntries(const MonthView& month, Findings* findings, DifferenceTally* tally);
void CheckComplements(const MonthView& month, Findings* findings);
void CheckSplits(const MonthView& month, Findings* findings);
void CheckCurrency(const MonthView& month, Findings* findings);

}  // namespace qx::check
