// Test helpers: interface values filled with patterns (records deeply, with blocks in task
// memory) and described as text, blocks and texts included, so that two calls can be compared
// byte for byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "contract/record_layout.h"
#include "platform/bstr.h"
#include "platform/task_memory.h"

namespace qx::test {

inline void PutPointer(uint8_t* where, void* pointer) {
  std::memcpy(where, &pointer, sizeof(pointer));
}
inline void* GetPointer(const uint8_t* where) {
  void* pointer = nullptr;
  std::memcpy(&pointer, where, sizeof(pointer));
  return pointer;
}

// Fills `count` records with bytes from `seed`; each pointer field gets a block of
// (seed % 3) elements in task memory, or, when seed % 5 == 4, a null pointer. Not inlined:
// GCC would warn about the pointer stores it cannot rule out for records without pointers.
[[gnu::noinline]] inline void FillRecords(const RecordLayout& layout, void* records, uint32_t count,
                                          uint32_t seed) {
  auto* bytes = static_cast<uint8_t*>(records);
  for (size_t i = 0; i < size_t{count} * layout.size; ++i)
    bytes[i] = (seed * 31 + i * 7 + 1) & 0xFF;
  for (uint32_t r = 0; r < count; ++r) {
    uint8_t* record = bytes + size_t{r} * layout.size;
    for (const PointerField& field : layout.pointers) {
      uint32_t elements = seed % 3;
      std::memcpy(record + field.countOffset, &elements, sizeof(elements));
      void* block = nullptr;
      if (seed % 5 != 4) {
        block = CoTaskMemAlloc(size_t{elements} * field.element->size);
        FillRecords(*field.element, block, elements, seed + r + 1);
      }
      PutPointer(record + field.offset, block);
    }
  }
}

inline std::string Hex(const void* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    uint8_t byte = static_cast<const uint8_t*>(data)[i];
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

// The records' bytes (pointer fields as "P"), then each block as [count:...] or [null].
inline std::string DescribeRecords(const RecordLayout& layout, const void* records,
                                   uint32_t count) {
  const auto* bytes = static_cast<const uint8_t*>(records);
  std::string text;
  for (uint32_t r = 0; r < count; ++r) {
    const uint8_t* record = bytes + size_t{r} * layout.size;
    uint32_t at = 0;
    for (const PointerField& field : layout.pointers) {
      text += Hex(record + at, field.offset - at) + "P";
      at = field.offset + sizeof(void*);
    }
    text += Hex(record + at, layout.size - at);
    for (const PointerField& field : layout.pointers) {
      const void* block = GetPointer(record + field.offset);
      uint32_t elements = 0;
      std::memcpy(&elements, record + field.countOffset, sizeof(elements));
      text += block == nullptr ? std::string("[null]")
                               : "[" + std::to_string(elements) + ":" +
                                     DescribeRecords(*field.element, block, elements) + "]";
    }
    text += "|";
  }
  return text;
}

inline std::string DescribeText(BSTR text) {
  return text == nullptr ? std::string("T(null)") : "T(" + Hex(text, SysStringByteLen(text)) + ")";
}

}  // namespace qx::test
