// The intent of the operation that holds mark 7 of a company folder: what the
// operation's writes replaced, so that it can be taken back whenever it
// stops. It is kept in the mark's own file, "XXMARCA7.dat", which only the
// holder of the mark can open.
//
// The file is empty while no operation is under way. An operation's intent is
// its header followed by entries, each added before the write it covers:
//   header (32 bytes)
//     +0  cMarca    char[8] "QXINTENC"
//     +8  Operacao  u64     the operation's number (never 0)
//     +16 Sessao    u32     the session number of the object that ran it
//     +20 Usuario   u16     its user
//     +22 cTipo     char    kOperacao... below
//     +23 cVersao   u8      1
//     +24 Crc       u64     CRC-64 of bytes 0-23
//   entry (16 bytes, then the file's name, the bytes, and a CRC-64 of all of
//   them as a u64)
//     +0  cTipo     char    'T': the file's length before the operation wrote
//                           to it; 'B': the bytes it held before a write
//     +1  cNome     u8      bytes of the name (1 to 255)
//     +2  usZero    u16     written 0
//     +4  Tamanho   u32     'B': bytes that follow the name; 'T': 0
//     +8  Posicao   u64     'B': their byte offset; 'T': the length
// Names are those of files of the same folder. Packed, little-endian. An entry
// cut short or whose CRC fails ends the intent: its write never began.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

#pragma pack(push, 1)

struct IntentHeader {
  char cMarca[8];
  uint64_t Operacao;
  uint32_t Sessao;
  uint16_t Usuario;
  char cTipo;
  uint8_t cVersao;
  uint64_t Crc;
};

struct IntentEntryHead {
  char cTipo;
  uint8_t cNome;
  uint16_t usZero;
  uint32_t Tamanho;
  uint64_t Posicao;
};

#pragma pack(pop)

static_assert(sizeof(IntentHeader) == 32);
static_assert(offsetof(IntentHeader, Operacao) == 8);
static_assert(offsetof(IntentHeader, Sessao) == 16);
static_assert(offsetof(IntentHeader, Usuario) == 20);
static_assert(offsetof(IntentHeader, cTipo) == 22);
static_assert(offsetof(IntentHeader, cVersao) == 23);
static_assert(offsetof(IntentHeader, Crc) == 24);
static_assert(sizeof(IntentEntryHead) == 16);
static_assert(offsetof(IntentEntryHead, cNome) == 1);
static_assert(offsetof(IntentEntryHead, Tamanho) == 4);
static_assert(offsetof(IntentEntryHead, Posicao) == 8);

inline constexpr char kIntentFileName[] = "XXMARCA7.dat";
inline constexpr char kIntentMark[8] = {'Q', 'X', 'I', 'N', 'T', 'E', 'N', 'C'};
inline constexpr uint8_t kIntentVersion = 1;
inline constexpr char kIntentLength = 'T';
inline constexpr char kIntentBytes = 'B';

// Kinds of operation.
inline constexpr char kOperacaoGravacao = 'G';   // a save (Grava, GravaDados)
inline constexpr char kOperacaoLote = 'L';       // a batch of saves (GravaLote)
inline constexpr char kOperacaoExclusao = 'E';   // a removal (Exclui)
inline constexpr char kOperacaoImportacao = 'X';  // removals of imported entries

}  // namespace qx
