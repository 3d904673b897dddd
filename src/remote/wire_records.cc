#include "remote/wire_records.h"

#include <cstring>

#include "platform/task_memory.h"

namespace qx {
namespace {

void* LoadPointer(const uint8_t* where) {
  void* pointer = nullptr;
  std::memcpy(&pointer, where, sizeof(pointer));
  return pointer;
}

void StorePointer(uint8_t* where, void* pointer) { std::memcpy(where, &pointer, sizeof(pointer)); }

uint32_t LoadCount(const uint8_t* record, const PointerField& field) {
  uint32_t count = 0;
  std::memcpy(&count, record + field.countOffset, sizeof(count));
  return count;
}

// The block of one pointer field: a null marker, or a count that matches the record's own.
bool ReadBlock(WireReader& in, uint8_t* record, const PointerField& field,
               Allocations& allocations) {
  StorePointer(record + field.offset, nullptr);
  uint32_t marker = 0;
  if (!in.U32(&marker)) return false;
  if (marker == kNullPointer) return true;
  if (marker != LoadCount(record, field)) return false;
  void* block = nullptr;
  bool read = ReadNewRecords(in, *field.element, marker, allocations, &block);
  StorePointer(record + field.offset, block);
  allocations.StoredAt(record + field.offset);
  return read;
}

}  // namespace

// `count` records into a new block, after checking that the payload can hold them.
bool ReadNewRecords(WireReader& in, const RecordLayout& layout, uint32_t count,
                    Allocations& allocations, void** records) {
  *records = nullptr;
  if (count > in.left() / layout.size) return false;
  *records = allocations.Block(size_t{count} * layout.size);
  return *records != nullptr && ReadRecords(in, layout, *records, count, allocations);
}

Allocations::~Allocations() {
  for (void* where : stored_) StorePointer(static_cast<uint8_t*>(where), nullptr);
  for (void* block : blocks_) CoTaskMemFree(block);
  for (BSTR text : texts_) SysFreeString(text);
}

void* Allocations::Block(size_t size) {
  void* block = CoTaskMemAlloc(size);
  if (block != nullptr) blocks_.push_back(block);
  return block;
}

void Allocations::Keep() {
  blocks_.clear();
  texts_.clear();
  stored_.clear();
}

void WriteRecords(WireWriter& out, const RecordLayout& layout, const void* records,
                  uint32_t count) {
  const auto* first = static_cast<const uint8_t*>(records);
  if (layout.pointers.empty()) {
    out.Bytes(first, size_t{count} * layout.size);
    return;
  }
  std::vector<uint8_t> copy(layout.size);
  for (uint32_t i = 0; i < count; ++i) {
    std::memcpy(copy.data(), first + size_t{i} * layout.size, layout.size);
    for (const PointerField& field : layout.pointers) StorePointer(&copy[field.offset], nullptr);
    out.Bytes(copy.data(), copy.size());
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* record = first + size_t{i} * layout.size;
    for (const PointerField& field : layout.pointers) {
      const void* block = LoadPointer(record + field.offset);
      uint32_t elements = LoadCount(record, field);
      out.U32(block == nullptr ? kNullPointer : elements);
      if (block != nullptr) WriteRecords(out, *field.element, block, elements);
    }
  }
}

bool ReadRecords(WireReader& in, const RecordLayout& layout, void* records, uint32_t count,
                 Allocations& allocations) {
  auto* first = static_cast<uint8_t*>(records);
  if (!in.Bytes(first, size_t{count} * layout.size)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    for (const PointerField& field : layout.pointers) {
      if (!ReadBlock(in, first + size_t{i} * layout.size, field, allocations)) return false;
    }
  }
  return true;
}

bool ReadCountedRecords(WireReader& in, const RecordLayout& layout, uint32_t count,
                        Allocations& allocations, void** records) {
  uint32_t sent = 0;
  return in.U32(&sent) && sent == count && ReadNewRecords(in, layout, count, allocations, records);
}

void WriteAllocated(WireWriter& out, const RecordLayout& layout, const void* record) {
  out.U32(record == nullptr ? kNullPointer : 1);
  if (record != nullptr) WriteRecords(out, layout, record, 1);
}

bool ReadAllocated(WireReader& in, const RecordLayout& layout, Allocations& allocations,
                   void** record) {
  *record = nullptr;
  uint32_t marker = 0;
  if (!in.U32(&marker)) return false;
  if (marker == kNullPointer) return true;
  return marker == 1 && ReadNewRecords(in, layout, 1, allocations, record);
}

void FreeRecordBlocks(const RecordLayout& layout, void* records, uint32_t count) {
  // Records without pointers (a page's text bytes, say) own nothing.
  if (layout.pointers.empty()) return;
  auto* first = static_cast<uint8_t*>(records);
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t* record = first + size_t{i} * layout.size;
    for (const PointerField& field : layout.pointers) {
      void* block = LoadPointer(record + field.offset);
      if (block == nullptr) continue;
      FreeRecordBlocks(*field.element, block, LoadCount(record, field));
      CoTaskMemFree(block);
      StorePointer(record + field.offset, nullptr);
    }
  }
}

void WriteText(WireWriter& out, BSTR text) {
  if (text == nullptr) {
    out.U32(kNullPointer);
  } else {
    out.Bstr(text);
  }
}

bool ReadText(WireReader& in, BSTR* text, Allocations& allocations) {
  *text = nullptr;
  uint32_t size = 0;
  if (!in.U32(&size)) return false;
  if (size == kNullPointer) return true;
  if (size % 2 != 0 || size > in.left()) return false;
  BSTR copy = SysAllocStringLen(nullptr, size / 2);
  if (copy == nullptr) return false;
  allocations.Text(copy);
  *text = copy;
  return in.Bytes(copy, size);
}

}  // namespace qx
