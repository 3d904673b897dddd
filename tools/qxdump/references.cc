#include "references.h"

#include "read_only_file.h"
#include "storage/month_name.h"

namespace qx::dump {

std::optional<References> LoadReferences(
    const std::string& path, uint32_t recordSize,
    const std::function<uint64_t(const std::vector<unsigned char>&)>& field) {
  ReadOnlyFile file;
  std::string error;
  if (!file.Open(path, &error)) return std::nullopt;
  References references;
  std::vector<unsigned char> record;
  for (uint64_t position = 1; (position + 1) * recordSize <= file.Length(); ++position) {
    if (!file.ReadAt(position * recordSize, recordSize, &record, &error)) return std::nullopt;
    if (record.size() < recordSize) break;
    if (const uint64_t named = field(record); named != 0) {
      references[named].push_back(static_cast<int64_t>(position));
    }
  }
  return references;
}

std::optional<std::string> EntryFileBeside(const FileName& name) {
  if (!name.hasMonth) return std::nullopt;
  return NomeArquivoMes(name.folder, kPrefixoLancamentos, name.mesAno.Value());
}

}  // namespace qx::dump
