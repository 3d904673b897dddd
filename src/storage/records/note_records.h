// Records of the explanatory notes: the index "CNNTEXPL.DAT" and the text heap
// "CNNTEXCP.DAT".
//
// A note belongs to an item that the client names by a month-year and a
// 32-bit key. The index is a record file with 12-byte records, packed; the
// position of a record is the note's identifier, and a record of all zeros is
// a cleared note:
//   +0  lChave         i32  the client's key of the noted item
//   +4  lPosicaoTexto  u32  byte offset of the note's text in the heap
//   +8  iMesAno        u16  month-year of the noted item
//   +10 cFiller        2 zero bytes
// The heap is byte-addressed. Each text is appended as Windows-1252 bytes and
// one NUL; nothing is removed or overwritten, so a replaced text stays behind.
// Its record 0 is a block of zero bytes as long as the first text written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

#pragma pack(push, 1)

struct NoteIndexRecord {
  int32_t lChave;
  uint32_t lPosicaoTexto;
  uint16_t iMesAno;
  uint8_t cFiller[2];
};

#pragma pack(pop)

static_assert(sizeof(NoteIndexRecord) == 12);
static_assert(offsetof(NoteIndexRecord, lChave) == 0);
static_assert(offsetof(NoteIndexRecord, lPosicaoTexto) == 4);
static_assert(offsetof(NoteIndexRecord, iMesAno) == 8);
static_assert(offsetof(NoteIndexRecord, cFiller) == 10);

inline constexpr char kNoteIndexFileName[] = "CNNTEXPL.DAT";
inline constexpr char kNoteTextFileName[] = "CNNTEXCP.DAT";
inline constexpr uint32_t kNoteIndexRecordSize = sizeof(NoteIndexRecord);

// A reader takes this many bytes at a text's offset; a note holds at most one
// byte less, the last being its NUL.
inline constexpr uint32_t kNoteReadSize = 1024;
inline constexpr uint32_t kNoteMaxLength = kNoteReadSize - 1;

}  // namespace qx
