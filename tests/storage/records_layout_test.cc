// The record layouts against bytes laid out by hand, and the meaning the
// layouts give to some field values.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "storage/records/difference_record.h"
#include "storage/records/entry_records.h"
#include "values/qx_dmcps.h"

namespace qx {
namespace {

TEST(RecordsLayoutTest, AnEntryRecordReadsItsFieldsFromLittleEndianBytes) {
  std::array<unsigned char, 50> bytes{};
  auto put = [&bytes](size_t offset, uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i)
      bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  put(0, 0xFFFFFFFF, 4);                        // Documento -1
  put(4, 1234, 4);                              // Complemento
  put(24, static_cast<uint64_t>(-150'000), 8);  // Valor -15.0000
  put(32, 0x00000F15, 4);                       // key 15, module 21
  put(36, 2117, 2);                             // iData
  put(42, 0xFF, 1);                             // a day byte is signed
  put(43, kEntryLiveWithCurrency, 1);
  put(45, 'S', 1);
  EntryRecord entry;
  std::memcpy(&entry, bytes.data(), sizeof entry);
  EXPECT_EQ(entry.Documento, -1);
  EXPECT_EQ(entry.Complemento, 1234);
  EXPECT_EQ(entry.Valor.int64, -150'000);
  EXPECT_EQ(OriginModule(entry.lChaveModulo), kImportModule);
  EXPECT_EQ(OriginKey(entry.lChaveModulo), 15u);
  EXPECT_EQ(entry.iData, 2117);
  EXPECT_EQ(entry.cDia, -1);
  EXPECT_EQ(entry.cStatus, kEntryLiveWithCurrency);
  EXPECT_EQ(entry.cStatusIFRS, 'S');

  std::array<unsigned char, 20> line{};
  line[8] = 0x05;
  line[11] = 0x30;  // owner word 0x30000005: the high bits are not the owner's
  REGLAN_GER split;
  std::memcpy(&split, line.data(), sizeof split);
  EXPECT_EQ(split.Indlan & kSplitOwnerMask, 5u);
}

TEST(RecordsLayoutTest, ADifferenceRecordsDateAndFreeSlotFollowItsTotal) {
  DifferenceRecord record{{100}, 64285, 0, 0, 0};
  EXPECT_EQ(EffectiveDate(record), 64285u);
  EXPECT_FALSE(IsFreeSlot(record));
  record.usDataLegada = 60000;  // a legacy date overrides Data
  EXPECT_EQ(EffectiveDate(record), 60000u);
  record.Valor.int64 = 0;  // a total of 0 has no date
  EXPECT_EQ(EffectiveDate(record), 0u);
  EXPECT_TRUE(IsFreeSlot(record));
  record.Filial = 2;  // but a branch keeps the slot taken
  EXPECT_FALSE(IsFreeSlot(record));
}

}  // namespace
}  // namespace qx
