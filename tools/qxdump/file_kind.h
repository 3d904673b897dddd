// Which layout a file of a company folder has, told by its name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "values/qx_mes_ano.h"

namespace qx::dump {

enum class FileKind {
  kEntries,        // CNLC
  kSplits,         // CNLG
  kQuantities,     // CNLQ
  kCurrency,       // CNLM
  kComplements,    // CNLH
  kControl,        // QXCTLARQ
  kDifferences,    // CNDIFDC
  kImportLayouts,  // CNFORIMP (.DAT and .TMP)
  kNoteIndex,      // CNNTEXPL
  kNoteTexts,      // CNNTEXCP
};

struct FileName {
  FileKind kind;
  std::string folder;  // up to and including the last separator; empty without one
  std::string name;    // the name without folder, as given
  // Month files only: whether the four characters after the prefix name a
  // month ("0000" names month-year 0), and which.
  bool hasMonth = false;
  CQXMesAno mesAno;
};

// Month files by their prefix (any spelling, any ending); side files by the
// part of the name before the first dot. nullopt for any other name.
std::optional<FileName> ClassifyFileName(std::string_view path);

bool IsMonthFile(FileKind kind);

}  // namespace qx::dump
