// Records of the month files.
//
// A company keeps its entries month by month in five files of its accounting
// folder, named prefix + "MMYY" + ".DAT" (see storage/month_name.h). Four are
// record files of fixed-size records: record 0 is a zero record that carries
// no data, data records are numbered from 1. All numbers are little-endian and
// the records are packed, without padding.
//
// CNLC, 50 bytes, one record per entry; the position is the entry index:
//   +0  Documento     i32  document number
//   +4  Complemento   i32  byte offset of the complement text in CNLH, 0 = none
//   +8  Gerencial     i32  position of the first split line in CNLG, 0 = none
//   +12 Debito        i32  debit account, 0 = none
//   +16 Credito       i32  credit account, 0 = none
//   +20 Secao         i32  session key of the last writer (session number >> 12)
//   +24 Valor         i64  amount, ten-thousandths (CURRENCY)
//   +32 lChaveModulo  i32  origin module (bits 0-7) and origin key (bits 8-31)
//   +36 iData         u16  origin month-year
//   +38 CodHis        u16  standard history code
//   +40 Filial        u16  branch
//   +42 cDia          i8   day of the entry date; month and year are the file's
//   +43 cStatus       u8   0 live, 1 deleted, 2 live with a CNLM record
//   +44 cConferido    u8   checked mark
//   +45 cStatusIFRS   u8   IFRS status, stored as given
//   +46 cFiller       4 zero bytes
//
// CNLG, 20 bytes, managerial split lines (REGLAN_GER):
//   +0  Valor           i64  amount of the line
//   +8  Indlan          u32  owner word: the client's value OR-ed with the entry index
//   +12 ContaGerencial  i32  managerial account
//   +16 ContaContabil   i32  accounting account
// An entry's lines form a chain: the line at its Gerencial position and every
// following line whose owner word agrees in bits 0-27. Removed lines are
// overwritten with zeros; nothing moves.
//
// CNLQ, 8 bytes (REGQTD_GER): Quantidade i64; record n belongs to CNLG line n.
//
// CNLM, 12 bytes: ValorMoeda i64 and 4 zero bytes; record n belongs to entry n
// and is read only when the entry's status is 2.
//
// CNLH is a byte heap addressed by offset. Byte 0 is its zero record (a space
// or a zero byte). Each complement text is appended as its bytes, with no
// length and no terminator; the entry holds its offset. A reader takes up to
// 500 bytes and keeps them up to and including the first carriage return, or
// up to the first zero byte. A longer text is stored as 499 bytes and a
// carriage return. Old texts stay where they are; a changed text is appended.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "values/currency.h"

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");

#pragma pack(push, 1)

// One managerial split line of CNLG.
struct REGLAN_GER {
  CURRENCY Valor;
  uint32_t Indlan;
  int32_t ContaGerencial;
  int32_t ContaContabil;
};

// One managerial quantity of CNLQ.
struct REGQTD_GER {
  CURRENCY Quantidade;
};

#pragma pack(pop)

static_assert(sizeof(REGLAN_GER) == 20);
static_assert(offsetof(REGLAN_GER, Valor) == 0);
static_assert(offsetof(REGLAN_GER, Indlan) == 8);
static_assert(offsetof(REGLAN_GER, ContaGerencial) == 12);
static_assert(offsetof(REGLAN_GER, ContaContabil) == 16);

static_assert(sizeof(REGQTD_GER) == 8);
static_assert(offsetof(REGQTD_GER, Quantidade) == 0);

namespace qx {

#pragma pack(push, 1)

// One entry of CNLC.
struct EntryRecord {
  int32_t Documento;
  int32_t Complemento;
  int32_t Gerencial;
  int32_t Debito;
  int32_t Credito;
  int32_t Secao;
  CURRENCY Valor;
  int32_t lChaveModulo;
  uint16_t iData;
  uint16_t CodHis;
  uint16_t Filial;
  int8_t cDia;
  uint8_t cStatus;
  uint8_t cConferido;
  uint8_t cStatusIFRS;
  uint8_t cFiller[4];
};

// The foreign-currency amount of one entry, in CNLM.
struct CurrencyRecord {
  CURRENCY ValorMoeda;
  uint8_t cFiller[4];
};

#pragma pack(pop)

static_assert(sizeof(EntryRecord) == 50);
static_assert(offsetof(EntryRecord, Documento) == 0);
static_assert(offsetof(EntryRecord, Complemento) == 4);
static_assert(offsetof(EntryRecord, Gerencial) == 8);
static_assert(offsetof(EntryRecord, Debito) == 12);
static_assert(offsetof(EntryRecord, Credito) == 16);
static_assert(offsetof(EntryRecord, Secao) == 20);
static_assert(offsetof(EntryRecord, Valor) == 24);
static_assert(offsetof(EntryRecord, lChaveModulo) == 32);
static_assert(offsetof(EntryRecord, iData) == 36);
static_assert(offsetof(EntryRecord, CodHis) == 38);
static_assert(offsetof(EntryRecord, Filial) == 40);
static_assert(offsetof(EntryRecord, cDia) == 42);
static_assert(offsetof(EntryRecord, cStatus) == 43);
static_assert(offsetof(EntryRecord, cConferido) == 44);
static_assert(offsetof(EntryRecord, cStatusIFRS) == 45);
static_assert(offsetof(EntryRecord, cFiller) == 46);

static_assert(sizeof(CurrencyRecord) == 12);
static_assert(offsetof(CurrencyRecord, ValorMoeda) == 0);
static_assert(offsetof(CurrencyRecord, cFiller) == 8);

inline constexpr uint32_t kEntryRecordSize = sizeof(EntryRecord);
inline constexpr uint32_t kSplitRecordSize = sizeof(REGLAN_GER);
inline constexpr uint32_t kQuantityRecordSize = sizeof(REGQTD_GER);
inline constexpr uint32_t kCurrencyRecordSize = sizeof(CurrencyRecord);

// Values of EntryRecord::cStatus.
inline constexpr uint8_t kEntryLive = 0;
inline constexpr uint8_t kEntryDeleted = 1;
inline constexpr uint8_t kEntryLiveWithCurrency = 2;

// Bits of the owner word that chain the split lines of one entry.
inline constexpr uint32_t kSplitOwnerMask = 0x0FFFFFFF;

// Origin module of imported entries (qx::OriginModule of lChaveModulo).
inline constexpr uint32_t kImportModule = 21;

// The complement heap.
inline constexpr char kComplementZeroByte = ' ';       // byte 0 as the month's creation writes it
inline constexpr uint32_t kComplementReadSize = 500;   // bytes a reader takes at an offset
inline constexpr uint32_t kComplementMaxStored = 499;  // bytes kept of a longer text, before CR
inline constexpr char kComplementEnd = '\r';           // ends a text that a reader keeps

}  // namespace qx
