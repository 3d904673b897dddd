// The state of one dump: the file, its name, the range asked for, the printer
// and the notes gathered on the way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "file_kind.h"
#include "printer.h"
#include "read_only_file.h"

namespace qx::dump {

// Record positions, or byte offsets in a heap; both ends included.
struct Range {
  uint64_t first = 0;
  uint64_t last = UINT64_MAX;
  bool Contains(uint64_t value) const { return value >= first && value <= last; }
};

struct DumpContext {
  FileName name;
  ReadOnlyFile file;
  Printer* printer = nullptr;
  std::optional<Range> range;
  std::vector<Note> notes;

  void Remark(std::string text) { notes.push_back({std::move(text), false}); }
  void Damage(std::string text) { notes.push_back({std::move(text), true}); }
  bool Damaged() const;

  // The header every dump starts with.
  DumpHeader Header(std::string kind, std::string title, uint32_t recordSize) const;

  // Record position of size bytes; false when it is not wholly in the file or
  // the read fails (which is noted as damage).
  bool ReadRecord(uint64_t position, uint32_t size, std::vector<unsigned char>* out);
  // The whole file; false when a read fails (noted as damage), out then
  // holding what was read before.
  bool ReadAll(std::string* out);
};

}  // namespace qx::dump
