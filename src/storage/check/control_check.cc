// "QXCTLARQ.DAT": each name as controlled creation writes it (upper-cased,
// without folder, at most 30 characters, NUL-terminated and NUL-padded),
// each listed once.
#include <algorithm>
#include <map>
#include <string>

#include "platform/codepage.h"
#include "storage/check/record_shape.h"
#include "storage/check/side_check.h"
#include "storage/records/control_record.h"

namespace qx::check {
namespace {

// Why a stored name is not as written; "" when it is.
std::string NameProblem(const ControlRecord& record) {
  const char* begin = record.cNomeArquivo;
  const char* end = begin + sizeof record.cNomeArquivo;
  const char* nul = std::find(begin, end, '\0');
  if (nul == end) return "sem o byte zero final";
  const std::string_view name(begin, static_cast<size_t>(nul - begin));
  if (name.empty()) return "um nome vazio";
  if (name.size() > kControlNameMaxLength) {
    return std::to_string(name.size()) + " caracteres, mais que 30";
  }
  if (std::any_of(nul, end, [](char c) { return c != '\0'; })) {
    return "os bytes depois do fim do nome não são zero";
  }
  if (name.find('/') != name.npos || name.find('\\') != name.npos) return "um nome com pasta";
  if (std::any_of(name.begin(), name.end(), [](char c) { return Cp1252ToUpper(c) != c; })) {
    return "não está em maiúsculas";
  }
  return "";
}

}  // namespace

void CheckControlFile(const LoadedFile& file, Findings* findings) {
  const uint64_t records = CheckRecordShape(file, kControlRecordSize, findings);
  std::map<std::string, uint64_t> seen;
  for (uint64_t p = 1; p <= records; ++p) {
    const auto record = file.At<ControlRecord>(p);
    if (const std::string problem = NameProblem(record); !problem.empty()) {
      findings->At("control-name", file.name, Unit::kRecord, p, problem);
      continue;
    }
    const std::string name(record.cNomeArquivo);
    auto [first, added] = seen.try_emplace(name, p);
    if (!added) {
      findings->At("control-duplicate", file.name, Unit::kRecord, p,
                   Cp1252ToUtf8(name) + " já está no registro " + std::to_string(first->second));
    }
  }
}

}  // namespace qx::check
