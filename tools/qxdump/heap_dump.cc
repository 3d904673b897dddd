#include "heap_dump.h"

#include <optional>
#include <set>
#include <string>

#include "platform/path.h"
#include "references.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "storage/records/note_records.h"
#include "value_forms.h"

namespace qx::dump {
namespace {

// One stretch of a heap taken as one text.
struct Segment {
  uint64_t offset;
  std::string_view bytes;
};

std::vector<Column> HeapColumns(const char* namedBy) {
  return {{"offset", 8}, {"length", 6}, {namedBy, 7}, {"text", 0}};
}

// Prints the segments of the range; references, when known, give each
// segment the records that name its offset.
void PrintSegments(DumpContext& context, const std::vector<Segment>& segments,
                   const std::optional<References>& references) {
  for (const Segment& segment : segments) {
    if (context.range && !context.range->Contains(segment.offset)) continue;
    Value naming;
    if (references) {
      auto it = references->find(segment.offset);
      naming = it == references->end() ? std::vector<int64_t>{} : it->second;
    }
    context.printer->Row({Number(static_cast<int64_t>(segment.offset)),
                          Number(static_cast<int64_t>(segment.bytes.size())), naming,
                          TextValue(segment.bytes)});
  }
  context.printer->End(segments.size(), context.notes);
}

// Notes every reference that names no segment's start.
void CheckReferences(DumpContext& context, const References& references,
                     const std::vector<Segment>& segments, const std::string& what) {
  std::set<uint64_t> starts;
  for (const Segment& segment : segments) starts.insert(segment.offset);
  for (const auto& [offset, positions] : references) {
    if (starts.count(offset) != 0) continue;
    for (int64_t position : positions) {
      context.Remark(what + " " + std::to_string(position) + " aponta a posição " +
                     std::to_string(offset) + ", onde nenhum texto do arquivo começa");
    }
  }
}

std::optional<References> LoadOrRemark(DumpContext& context, const std::string& path, uint32_t size,
                                       uint64_t (*field)(const std::vector<unsigned char>&),
                                       const std::string& lost) {
  auto references = LoadReferences(path, size, field);
  if (!references) context.Remark(path + " não se lê: " + lost);
  return references;
}

uint64_t ComplementOf(const std::vector<unsigned char>& bytes) {
  const int32_t offset = As<EntryRecord>(bytes).Complemento;
  return offset > 0 ? static_cast<uint64_t>(offset) : 0;
}

uint64_t NoteTextOf(const std::vector<unsigned char>& bytes) {
  return AllZero(bytes) ? 0 : As<NoteIndexRecord>(bytes).lPosicaoTexto;
}

}  // namespace

void DumpComplements(DumpContext& context) {
  context.printer->Begin(context.Header(kPrefixoComplementos, "textos de complemento", 0),
                         HeapColumns("entries"));
  std::string heap;
  context.ReadAll(&heap);
  if (heap.empty()) {
    context.Remark("o arquivo está vazio: não tem o byte zero");
  } else if (heap[0] != kComplementZeroByte && heap[0] != '\0') {
    context.Remark("o byte 0, o registro zero, não é espaço nem byte zero");
  }
  std::optional<References> entries;
  if (auto path = EntryFileBeside(context.name)) {
    entries = LoadOrRemark(context, *path, kEntryRecordSize, ComplementOf,
                           "os textos se separam só nos retornos de carro");
  } else {
    context.Remark(
        "o nome do arquivo não diz o mês: os textos se separam só nos retornos de carro");
  }
  // A text starts at byte 1, at every offset an entry names and after every
  // carriage return (which ends a text that was cut).
  std::vector<Segment> segments;
  uint64_t start = 1;
  for (uint64_t i = 1; i <= heap.size(); ++i) {
    const bool named = entries && entries->count(i) != 0;
    if (i == heap.size() || named || heap[i - 1] == kComplementEnd) {
      if (i > start) segments.push_back({start, std::string_view(heap).substr(start, i - start)});
      start = i;
    }
  }
  if (entries) CheckReferences(context, *entries, segments, "o lançamento");
  PrintSegments(context, segments, entries);
}

void DumpNoteTexts(DumpContext& context) {
  context.printer->Begin(context.Header("CNNTEXCP", "textos das notas explicativas", 0),
                         HeapColumns("notes"));
  std::string heap;
  context.ReadAll(&heap);
  const auto notes = LoadOrRemark(context, JoinPath(context.name.folder, kNoteIndexFileName),
                                  kNoteIndexRecordSize, NoteTextOf, "as notas não aparecem");
  // Each text is a run of non-zero bytes ended by a zero byte; the zero
  // record is a run of zero bytes and holds none.
  std::vector<Segment> segments;
  for (size_t i = 0; i < heap.size();) {
    if (heap[i] == '\0') {
      ++i;
      continue;
    }
    const size_t end = heap.find('\0', i);
    if (end == std::string::npos) {
      context.Damage("o texto na posição " + std::to_string(i) +
                     " não tem o byte zero final: o arquivo acaba no meio dele");
    }
    segments.push_back({i, std::string_view(heap).substr(i, end - i)});
    i = end == std::string::npos ? heap.size() : end;
  }
  if (notes) CheckReferences(context, *notes, segments, "a nota");
  PrintSegments(context, segments, notes);
}

}  // namespace qx::dump
