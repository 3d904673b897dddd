// Month files that controlled creation made once (QXCTLARQ.DAT lists them)
// and that are gone: the server does not make them again, so every read and
// save of that month fails with 16055 until the month is made again. Removing
// a month deletes its CNLC first, so a month whose CNLC is gone too was
// removed on purpose, or its removal stopped half way.
#include <cstring>
#include <string>

#include "storage/check/month_check.h"
#include "storage/month_name.h"
#include "storage/records/control_record.h"

namespace qx::check {

void CheckVanishedMonthFiles(const FolderFiles& files, Findings* findings) {
  if (!files.control) return;
  const LoadedFile& control = *files.control;
  for (uint64_t p = 1; p <= control.Records(kControlRecordSize); ++p) {
    const auto record = control.At<ControlRecord>(p);
    const std::string name =
        UpperName({record.cNomeArquivo, strnlen(record.cNomeArquivo, sizeof record.cNomeArquivo)});
    if (files.names.count(name) != 0 || !MonthOfFileName(name)) continue;
    const std::string entries = std::string(kPrefixoLancamentos) + name.substr(4);
    const std::string listed = "listed in " + control.name + " (record " + std::to_string(p) + ")";
    if (files.names.count(entries) != 0) {
      findings->Add("file-vanished", name, listed + " as created, and gone while " + entries +
                                               " is there");
    } else {
      findings->Add("month-removed", name, listed + " as created, and gone with " + entries);
    }
  }
}

}  // namespace qx::check
