// The explanatory notes: each index record of "CNNTEXPL.DAT" names the start
// of a NUL-terminated text in the heap "CNNTEXCP.DAT", whose record 0 is a
// block of zero bytes; texts are only appended, so replaced ones stay.
#include <set>
#include <string>

#include "storage/check/record_shape.h"
#include "storage/check/side_check.h"
#include "storage/check/text_forms.h"
#include "storage/records/note_records.h"

namespace qx::check {
namespace {

// Why the text an index record names cannot be read as written; "" when it can.
std::string TextProblem(const NoteIndexRecord& note, const std::optional<LoadedFile>& texts,
                        const char** kind) {
  *kind = "note-offset";
  const uint64_t offset = note.lPosicaoTexto;
  if (!texts) {
    return "posição de texto " + std::to_string(offset) + ", mas não há arquivo de textos";
  }
  const std::string& heap = texts->bytes;
  if (offset == 0 || offset >= heap.size()) {
    return "posição de texto " + std::to_string(offset) + " fora de " + texts->name + " (" +
           std::to_string(heap.size()) + " bytes)";
  }
  if (heap[offset - 1] != '\0') {
    return "posição de texto " + std::to_string(offset) + " no meio de um texto";
  }
  *kind = "note-text";
  const size_t end = heap.find('\0', offset);
  if (end == std::string::npos) return "o texto em " + std::to_string(offset) + " não tem fim";
  if (end - offset > kNoteMaxLength) {
    return "o texto em " + std::to_string(offset) + " tem " + std::to_string(end - offset) +
           " bytes, mais que " + std::to_string(kNoteMaxLength);
  }
  return "";
}

void CheckHeap(const LoadedFile& texts, const std::set<uint64_t>& named, Findings* findings) {
  const std::string& heap = texts.bytes;
  if (heap.empty()) return;
  if (heap[0] != '\0') {
    findings->At("zero-record", texts.name, Unit::kByte, 0, "o byte 0 não é um byte zero");
  }
  uint64_t orphans = 0, first = 0;
  for (size_t i = 1; i < heap.size(); ++i) {
    if (heap[i] == '\0' || heap[i - 1] != '\0' || named.count(i) != 0) continue;
    if (orphans++ == 0) first = i;
  }
  if (orphans != 0) {
    findings->At("note-orphan", texts.name, Unit::kByte, first,
                 Counted(orphans, "texto") + " que nenhuma nota aponta");
  }
}

}  // namespace

void CheckNotes(const std::optional<LoadedFile>& index, const std::optional<LoadedFile>& texts,
                Findings* findings) {
  std::set<uint64_t> named;
  const uint64_t records = index ? CheckRecordShape(*index, kNoteIndexRecordSize, findings) : 0;
  for (uint64_t p = 1; p <= records; ++p) {
    if (AllZero(*index, p * kNoteIndexRecordSize, kNoteIndexRecordSize)) continue;  // cleared
    const auto note = index->At<NoteIndexRecord>(p);
    if (note.cFiller[0] != 0 || note.cFiller[1] != 0) {
      findings->At("note-filler", index->name, Unit::kRecord, p, "bytes de preenchimento não zero");
    }
    const char* kind = nullptr;
    if (const std::string problem = TextProblem(note, texts, &kind); !problem.empty()) {
      findings->At(kind, index->name, Unit::kRecord, p, problem);
    }
    named.insert(note.lPosicaoTexto);
  }
  if (texts) CheckHeap(*texts, named, findings);
}

}  // namespace qx::check
