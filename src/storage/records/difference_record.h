// Records of "CNDIFDC.DAT", the running totals of one-sided amounts.
//
// An entry with a debit account but no credit account (or the reverse) leaves
// the books out of balance by its amount. This record file of the company
// folder keeps one running total per key: date or month, branch and user, as
// the company's grouping options say. 18-byte records, packed, little-endian;
// record 0 is all zero and never a key:
//   +0  Valor         i64  running total, ten-thousandths (CURRENCY)
//   +8  Data          u32  day-number date of the key
//   +12 usDataLegada  u16  written 0; when not 0 this value is the record's date
//   +14 Filial        u16  branch of the key, 0 when branches are not told apart
//   +16 Usuario       u16  user of the key, 0 when users are not told apart
// The effective date is usDataLegada when that is not 0, else Data, and 0
// whenever Valor is 0. A record whose effective date, Filial and Usuario are
// all 0 is a free slot that the next new key takes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "values/currency.h"

namespace qx {

#pragma pack(push, 1)

struct DifferenceRecord {
  CURRENCY Valor;
  uint32_t Data;
  uint16_t usDataLegada;
  uint16_t Filial;
  uint16_t Usuario;
};

#pragma pack(pop)

static_assert(sizeof(DifferenceRecord) == 18);
static_assert(offsetof(DifferenceRecord, Valor) == 0);
static_assert(offsetof(DifferenceRecord, Data) == 8);
static_assert(offsetof(DifferenceRecord, usDataLegada) == 12);
static_assert(offsetof(DifferenceRecord, Filial) == 14);
static_assert(offsetof(DifferenceRecord, Usuario) == 16);

inline constexpr char kDifferenceFileName[] = "CNDIFDC.DAT";
inline constexpr uint32_t kDifferenceRecordSize = sizeof(DifferenceRecord);

constexpr uint32_t EffectiveDate(const DifferenceRecord& record) {
  if (record.Valor.int64 == 0) return 0;
  return record.usDataLegada != 0 ? record.usDataLegada : record.Data;
}

constexpr bool IsFreeSlot(const DifferenceRecord& record) {
  return EffectiveDate(record) == 0 && record.Filial == 0 && record.Usuario == 0;
}

}  // namespace qx
