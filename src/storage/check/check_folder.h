// Checks a company folder's record files, read-only, and reports every
// inconsistency found (see finding.h for the two gravities).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "storage/check/difference_check.h"
#include "storage/check/finding.h"
#include "storage/check/folder_files.h"
#include "storage/records/entry_records.h"

namespace qx::check {

// The change log's last image of an entry position: the fields of an entry
// record that it keeps (no split position, checked mark or IFRS status, and
// the low 16 bits of the session key), the status 1 after a removal.
struct ImagemLog {
  int64_t evento = 0;  // the event that left it
  EntryRecord registro{};
};
using ImagensDoMes = std::map<uint32_t, ImagemLog>;  // by position

// What the company's change log says of the folder, read as the check asks.
struct LogDaEmpresa {
  std::vector<uint64_t> encerradas;  // the operations it has as ended that an intent may name
  std::set<uint16_t> meses;          // the months it knows entries of
  // The last image of each position of a month; false with *error when the
  // log cannot be read.
  std::function<bool(uint16_t mesAno, ImagensDoMes* imagens, std::string* error)> imagens;
};

struct Report {
  std::string folder;
  size_t files = 0;  // files of known names read
  DifferenceOptions options;
  Findings findings;
  bool Sound() const { return findings.Count(Gravity::kDamage) == 0; }
};

// False with *error when the folder (or the log, when given) cannot be read;
// otherwise *report holds the findings (files that cannot be read among
// them). An operation that stopped part way is checked as its recovery will
// leave the folder: taken back, unless the log (when given) has it as ended.
// With the log, each month's entries are compared with its last images.
bool CheckFolder(const std::string& folder, const DifferenceOptions& options, Report* report,
                 std::string* error, const LogDaEmpresa* log = nullptr);

// The entries of each month against the log's last image of each position.
bool CheckAgainstLog(const FolderFiles& files, const LogDaEmpresa& log, Findings* findings,
                     std::string* error);

// An intent left in the folder (records/intent_records.h) taken back in the
// bytes read, unless the log has its operation as ended.
void CheckPendingIntent(FolderFiles* files, const LogDaEmpresa* log, Findings* findings);

}  // namespace qx::check
