// Month files that controlled creation made once (QXCTLARQ.DAT lists them)
// and that are gone: the server does not make them again, so the reads and
// saves of that month that need one fail with 16055 until the month is made
// again. A month's removal leaves this, and so does a creation that stops
// after listing the name: it is admitted, and named.
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
    const std::string listed =
        "listado em " + control.name + " (registro " + std::to_string(p) + ")";
    findings->Add("file-vanished", name,
                  listed + " como criado, e sumiu" +
                      (files.names.count(entries) != 0 ? ", embora " + entries + " esteja lá"
                                                       : " com " + entries));
  }
}

}  // namespace qx::check
