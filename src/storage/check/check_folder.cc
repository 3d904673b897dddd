#include "storage/check/check_folder.h"

#include "storage/check/folder_files.h"
#include "storage/check/month_check.h"
#include "storage/check/side_check.h"

namespace qx::check {

bool CheckFolder(const std::string& folder, const DifferenceOptions& options, Report* report,
                 std::string* error, const LogDaEmpresa* log) {
  report->folder = folder;
  report->options = options;
  FolderFiles files;
  if (!LoadFolder(folder, &files, &report->findings, error)) return false;
  report->files = files.count;

  Findings* findings = &report->findings;
  CheckAccess(folder, findings);
  CheckPendingIntent(&files, log, findings);
  if (log != nullptr && !CheckAgainstLog(files, *log, findings, error)) return false;
  DifferenceTally tally(options);
  for (const auto& [mesAno, month] : files.months) {
    CheckMonth(CQXMesAno(mesAno), month, findings, &tally);
  }
  CheckVanishedMonthFiles(files, findings);
  CheckDifferences(files.differences, tally, findings);
  if (files.control) CheckControlFile(*files.control, findings);
  if (files.layouts) CheckImportLayouts(*files.layouts, findings);
  if (files.layoutsTemp) {
    findings->Add("layout-temporary", files.layoutsTemp->name,
                  "deixado por uma exclusão de formato");
    CheckImportLayouts(*files.layoutsTemp, findings);
  }
  CheckNotes(files.noteIndex, files.noteTexts, findings);
  return true;
}

}  // namespace qx::check
