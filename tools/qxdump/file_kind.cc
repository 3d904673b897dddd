#include "file_kind.h"

#include <array>

#include "contract/import_layout_record.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "storage/check/folder_files.h"
#include "storage/month_name.h"
#include "storage/records/control_record.h"
#include "storage/records/difference_record.h"
#include "storage/records/note_records.h"

namespace qx::dump {
namespace {

struct NamedKind {
  std::string_view text;
  FileKind kind;
};

constexpr std::array<NamedKind, 5> kMonthPrefixes = {{
    {kPrefixoLancamentos, FileKind::kEntries},
    {kPrefixoGerencial, FileKind::kSplits},
    {kPrefixoQuantidades, FileKind::kQuantities},
    {kPrefixoMoeda, FileKind::kCurrency},
    {kPrefixoComplementos, FileKind::kComplements},
}};

constexpr std::string_view BaseOf(std::string_view fileName) {
  return fileName.substr(0, fileName.find('.'));
}

const std::array<NamedKind, 5> kSideBases = {{
    {BaseOf(kControlFileName), FileKind::kControl},
    {BaseOf(kDifferenceFileName), FileKind::kDifferences},
    {BaseOf(kImportLayoutFileName), FileKind::kImportLayouts},
    {BaseOf(kNoteIndexFileName), FileKind::kNoteIndex},
    {BaseOf(kNoteTextFileName), FileKind::kNoteTexts},
}};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && Cp1252EqualNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::optional<FileName> ClassifyFileName(std::string_view path) {
  const size_t separator = LastSeparator(path);
  FileName result{};
  if (separator != std::string_view::npos) {
    result.folder = std::string(path.substr(0, separator + 1));
    path.remove_prefix(separator + 1);
  }
  result.name = std::string(path);
  for (const NamedKind& prefix : kMonthPrefixes) {
    if (!StartsWithNoCase(path, prefix.text)) continue;
    result.kind = prefix.kind;
    if (auto mesAno = MesDaParteArquivo(path.substr(prefix.text.size()).substr(0, 4))) {
      result.hasMonth = true;
      result.mesAno = *mesAno;
    }
    return result;
  }
  for (const NamedKind& side : kSideBases) {
    if (Cp1252EqualNoCase(BaseOf(path), side.text)) {
      result.kind = side.kind;
      return result;
    }
  }
  return std::nullopt;
}

bool IsMonthFile(FileKind kind) {
  return kind == FileKind::kEntries || kind == FileKind::kSplits || kind == FileKind::kQuantities ||
         kind == FileKind::kCurrency || kind == FileKind::kComplements;
}

}  // namespace qx::dump
