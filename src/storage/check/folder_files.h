// The files of a company folder that a check reads, each read whole, once,
// for reading only and sharing with every writer (a live folder stays safe).
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "storage/check/finding.h"
#include "values/qx_mes_ano.h"

namespace qx::check {

struct LoadedFile {
  std::string name;   // without folder, as spelled in the folder
  std::string bytes;  // the whole content as read

  uint64_t Length() const { return bytes.size(); }
  // Data records of size bytes (record 0 not counted; a partial last one neither).
  uint64_t Records(uint32_t size) const {
    return bytes.size() / size == 0 ? 0 : bytes.size() / size - 1;
  }
  // The record of type R at a position that Records() holds.
  template <typename R>
  R At(uint64_t position) const {
    R record;
    std::memcpy(&record, bytes.data() + position * sizeof(R), sizeof(R));
    return record;
  }
};

// The five files of one month; a missing one is nullopt.
struct MonthFiles {
  std::optional<LoadedFile> entries;      // CNLC
  std::optional<LoadedFile> splits;       // CNLG
  std::optional<LoadedFile> quantities;   // CNLQ
  std::optional<LoadedFile> currency;     // CNLM
  std::optional<LoadedFile> complements;  // CNLH
};

struct FolderFiles {
  std::map<uint16_t, MonthFiles> months;  // by month-year value (0 for "0000")
  std::optional<LoadedFile> control;      // QXCTLARQ.DAT
  std::optional<LoadedFile> differences;  // CNDIFDC.DAT
  std::optional<LoadedFile> layouts;      // CNFORIMP.DAT
  std::optional<LoadedFile> layoutsTemp;  // CNFORIMP.TMP
  std::optional<LoadedFile> noteIndex;    // CNNTEXPL.DAT
  std::optional<LoadedFile> noteTexts;    // CNNTEXCP.DAT
  std::optional<LoadedFile> intent;       // XXMARCA7.dat, when no operation holds it
  size_t count = 0;                       // files read (the intent aside)
  std::set<std::string> names;            // every name in the folder, upper-cased
};

// The month-year of a month file's name (one of the five prefixes, the month
// part, ".DAT", in any case); nullopt for any other name.
std::optional<CQXMesAno> MonthOfFileName(std::string_view name);
// The place in `files` of the file of that name (in any spelling), or null for
// a name the system does not use.
std::optional<LoadedFile>* SlotOf(std::string_view name, FolderFiles* files);
// The name upper-cased in the code page.
std::string UpperName(std::string_view name);

// Reads the files of the folder whose names (in any spelling) the system
// uses. A file that cannot be read, such a name that is no file (a folder),
// and two names that differ only in case are findings; false when the folder
// itself cannot be listed.
bool LoadFolder(const std::string& folder, FolderFiles* files, Findings* findings,
                std::string* error);

}  // namespace qx::check
