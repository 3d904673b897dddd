#include "dump_context.h"

#include <algorithm>

namespace qx::dump {

bool DumpContext::Damaged() const {
  return std::any_of(notes.begin(), notes.end(), [](const Note& note) { return note.damage; });
}

DumpHeader DumpContext::Header(std::string kind, std::string title, uint32_t recordSize) const {
  DumpHeader header{name.name, std::move(kind), std::move(title), recordSize, file.Length(), {}};
  if (name.hasMonth && !name.mesAno.IsEmpty()) header.month = Month{name.mesAno.Value()};
  return header;
}

bool DumpContext::ReadRecord(uint64_t position, uint32_t size, std::vector<unsigned char>* out) {
  std::string error;
  if (!file.ReadAt(position * size, size, out, &error)) {
    Damage("registro " + std::to_string(position) + ": " + error);
    return false;
  }
  if (out->size() == size) return true;
  if ((position + 1) * size <= file.Length()) {
    Damage("registro " + std::to_string(position) + ": o arquivo encolheu durante a leitura");
  }
  return false;
}

bool DumpContext::ReadAll(std::string* out) {
  constexpr uint32_t kChunk = 64 * 1024;
  out->clear();
  std::vector<unsigned char> chunk;
  std::string error;
  while (out->size() < file.Length()) {
    if (!file.ReadAt(out->size(), kChunk, &chunk, &error)) {
      Damage(error);
      return false;
    }
    if (chunk.empty()) {
      Damage("o arquivo encolheu durante a leitura: " + std::to_string(out->size()) + " de " +
             std::to_string(file.Length()) + " bytes");
      return false;
    }
    out->append(chunk.begin(), chunk.end());
  }
  return true;
}

}  // namespace qx::dump
