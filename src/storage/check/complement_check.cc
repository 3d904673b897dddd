// The complement heap CNLH of a month: its zero byte, and the bytes that no
// entry's text takes (texts are only appended, so a replaced text stays, and
// a save that stops after its text leaves that text behind).
#include <string>
#include <vector>

#include "storage/check/month_check.h"
#include "storage/check/text_forms.h"

namespace qx::check {
namespace {

// Marks the bytes a reader takes at offset: up to 500, up to and including
// the first carriage return, up to the first zero byte.
void MarkText(const std::string& heap, uint64_t offset, std::vector<bool>* taken) {
  for (uint64_t i = offset; i < heap.size() && i < offset + kComplementReadSize; ++i) {
    if (heap[i] == '\0') return;
    (*taken)[i] = true;
    if (heap[i] == kComplementEnd) return;
  }
}

}  // namespace

void CheckComplements(const MonthView& month, Findings* findings) {
  const auto& file = month.files.complements;
  if (!file) return;
  const std::string& heap = file->bytes;
  if (heap.empty()) {
    findings->Add("empty-file", file->name, "0 bytes: sem o byte zero");
    return;
  }
  if (heap[0] != kComplementZeroByte && heap[0] != '\0') {
    findings->At("zero-record", file->name, Unit::kByte, 0, "o byte 0 não é espaço nem byte zero");
  }
  if (!month.files.entries) return;
  std::vector<bool> taken(heap.size(), false);
  for (uint64_t p = 1; p <= month.entries; ++p) {
    const int32_t offset = month.files.entries->At<EntryRecord>(p).Complemento;
    if (offset > 0 && static_cast<uint64_t>(offset) < heap.size()) {
      MarkText(heap, static_cast<uint64_t>(offset), &taken);
    }
  }
  uint64_t bytes = 0, stretches = 0, first = 0, last = 0;
  for (uint64_t i = 1; i < heap.size(); ++i) {
    if (taken[i]) continue;
    if (bytes == 0) first = i;
    if (i == 1 || taken[i - 1]) ++stretches;
    ++bytes;
    last = i;
  }
  if (bytes != 0) {
    findings->Run("complement-orphan", file->name, Unit::kByte, first, last,
                  Counted(bytes, "byte") + " em " + Counted(stretches, "trecho") +
                      " fora do texto de qualquer lançamento");
  }
}

}  // namespace qx::check
