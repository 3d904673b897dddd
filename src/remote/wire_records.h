// Interface records, texts and the task memory behind them on the wire. A record goes as its
// bytes with its counted pointer fields written as zero, followed, element by element, by the
// block of each pointer field: a u32 element count (kNullPointer for a null pointer) then
// the elements, themselves records. A BSTR goes as a u32 byte count (kNullPointer for a null
// BSTR) then its UTF-16LE characters, so that null and empty texts stay apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "contract/record_layout.h"
#include "platform/bstr.h"
#include "platform/wire_frame_marshal.h"

// Results of the marshalling itself, as the platform's RPC layer gives them.
inline constexpr HRESULT RPC_S_PROCNUM_OUT_OF_RANGE = static_cast<HRESULT>(0x800706D1u);
inline constexpr HRESULT RPC_X_NULL_REF_POINTER = static_cast<HRESULT>(0x800706F4u);
inline constexpr HRESULT RPC_X_INVALID_BOUND = static_cast<HRESULT>(0x800706C6u);

namespace qx {

inline constexpr uint32_t kNullPointer = 0xFFFFFFFFu;

// The task memory and texts that reading a payload allocates, and the pointers it stored.
// Unless kept, they are freed on destruction and the stored pointers set back to null, so a
// reading that fails half-way leaves neither leaks nor dangling pointers.
class Allocations {
 public:
  Allocations() = default;
  Allocations(const Allocations&) = delete;
  Allocations& operator=(const Allocations&) = delete;
  ~Allocations();

  // A block of `size` bytes, or null when memory is short.
  void* Block(size_t size);
  // Takes over a text.
  void Text(BSTR text) { texts_.push_back(text); }
  // A pointer stored at `where` (possibly unaligned) to be set back to null.
  void StoredAt(void* where) { stored_.push_back(where); }
  // Hands everything over to the caller.
  void Keep();

 private:
  std::vector<void*> blocks_;
  std::vector<BSTR> texts_;
  std::vector<void*> stored_;
};

void WriteRecords(WireWriter& out, const RecordLayout& layout, const void* records, uint32_t count);
// Reads `count` records into `records`, their blocks into new task memory of `allocations`.
bool ReadRecords(WireReader& in, const RecordLayout& layout, void* records, uint32_t count,
                 Allocations& allocations);
// Reads `count` records into a new block of `allocations`, after checking the payload holds them.
bool ReadNewRecords(WireReader& in, const RecordLayout& layout, uint32_t count,
                    Allocations& allocations, void** records);
// Reads a u32 count that must equal `count`, then the records into a new block.
bool ReadCountedRecords(WireReader& in, const RecordLayout& layout, uint32_t count,
                        Allocations& allocations, void** records);
// A record the callee allocated (T**): kNullPointer, or 1 then the record and its blocks.
void WriteAllocated(WireWriter& out, const RecordLayout& layout, const void* record);
bool ReadAllocated(WireReader& in, const RecordLayout& layout, Allocations& allocations,
                   void** record);
// Frees (CoTaskMemFree) the blocks behind the pointer fields of `count` records, deeply.
void FreeRecordBlocks(const RecordLayout& layout, void* records, uint32_t count);

void WriteText(WireWriter& out, BSTR text);
// A new text (null for a null BSTR) that `allocations` owns.
bool ReadText(WireReader& in, BSTR* text, Allocations& allocations);

}  // namespace qx
