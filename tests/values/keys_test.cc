// The composite key of an entry's origin, the entry key, the module names and the CRC-64.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

#include "values/crc64.h"
#include "values/entry_key.h"
#include "values/origin_names.h"
#include "values/qx_chave_composta.h"

namespace {

using TextCase = std::pair<const char*, int>;

// A key's period kind, period, key and module.
std::tuple<int, uint32_t, uint32_t, uint32_t> Parts(const CQXChaveComposta& key) {
  return {key.PeriodKind(), key.Period(), key.Key(), key.Module()};
}

CQXChaveComposta Key(uint32_t module, uint32_t key) {
  CQXChaveComposta composite;
  composite.SetModule(module);
  composite.SetKey(key);
  return composite;
}

TEST(Crc64AndEntryKeys, KnownVectorsModuleKeysEntryKeysAndNamedModules) {
  EXPECT_EQ(std::vector({qx::Crc64("123456789"), qx::Crc64("abc"), qx::Crc64(""),
                         qx::Crc64("6789", qx::Crc64("12345"))}),
            std::vector<uint64_t>({0x2B9C7EE4E2780C8A, 0xC621568C6AFEAD61, 0, 0x2B9C7EE4E2780C8A}));
  const uint8_t highBytes[] = {0xFF, 0x80};  // taken as unsigned
  EXPECT_EQ(qx::Crc64(std::string("\xFF\x80")), qx::Crc64Bytes(highBytes, 2));

  // Module keys, entry keys and named modules.
  // Keys of 2^23 and above make the signed field negative; they still split back.
  for (const auto& [raw, key, module] :
       {std::tuple(0x00000F05, 15u, 5u), std::tuple(-1, 16777215u, 255u)}) {
    EXPECT_EQ(qx::MakeChaveModulo(key, module), raw);
    EXPECT_EQ(std::pair(qx::OriginKey(raw), qx::OriginModule(raw)), std::pair(key, module));
  }

  // Entry keys; the largest index makes them negative.
  for (const auto& [indlan, mesAno, raw] :
       {std::tuple(7, 2115, (7 << 12) | 2115), std::tuple(0xFFFFF, 1, int32_t(0xFFFFF001))}) {
    EXPECT_EQ(qx::MakeChaveComposta(indlan, CQXMesAno(mesAno)), raw);
    const qx::EntryKeyParts parts = qx::SplitChaveComposta(raw);
    EXPECT_EQ(std::pair(int(parts.indlan), int(parts.mesAno)), std::pair(indlan, mesAno));
  }
  // Month-years of 4096 and above run into the index bits, unmasked.
  EXPECT_EQ(qx::MakeChaveComposta(1, CQXMesAno(4097)), 0x1001);

  EXPECT_STREQ(qx::OriginModuleName(22), "Lote");
  EXPECT_TRUE(qx::OriginModuleName(1) && qx::OriginModuleName(131));
  for (unsigned module : {25u, 132u, 4096u}) EXPECT_EQ(qx::OriginModuleName(module), nullptr);
}

TEST(CQXChaveComposta, BitFieldsPeriodKindsValidityAndTheOriginRecordBothWays) {
  CQXChaveComposta key = Key(5, 15);
  EXPECT_EQ(key.Raw(), (15ull << 14) | (5u << 2));
  key.SetMesAno(CQXMesAno(2115));
  EXPECT_EQ(key.PeriodKind(), CQXChaveComposta::kindMesAno);
  EXPECT_EQ(key.Raw() >> 46, 2115u);
  key.SetData(CQXData(262143));  // the last date that the 18 bits hold, 2565-09-19
  EXPECT_EQ(Parts(key), std::tuple(CQXChaveComposta::kindData, 262143u, 15u, 5u));
  key.SetData(CQXData(262144));
  EXPECT_EQ(Parts(key), std::tuple(CQXChaveComposta::kindNone, 0u, 15u, 5u));
  key.SetYear(2024);
  EXPECT_EQ(key.PeriodKind(), CQXChaveComposta::kindYear);
  key.SetMesAno(CQXMesAno());
  key.SetKey(0xFFFFFFFF);
  EXPECT_EQ(Parts(key), std::tuple(CQXChaveComposta::kindNone, 0u, 0xFFFFFFFFu, 5u));

  EXPECT_TRUE(Key(133, 1).IsValid());
  EXPECT_FALSE(Key(134, 1).IsValid() || Key(5, 0).IsValid());
  EXPECT_TRUE(CQXChaveComposta().IsEmpty());
  key = Key(5, 15);
  key.SetYear(1847);
  EXPECT_FALSE(key.IsValid());
  key.SetYear(4717);
  EXPECT_TRUE(key.IsValid());
  EXPECT_EQ(CQXChaveComposta(key.Raw()).Raw(), key.Raw());
  // Raw values with a bad period for their kind (month, date, none), a bad
  // module or no key store 0.
  for (uint64_t raw :
       {(34441ull << 46) | (15ull << 14) | CQXChaveComposta::kindMesAno,
        (1ull << 46) | (15ull << 14) | CQXChaveComposta::kindData, (2115ull << 46) | (15ull << 14),
        (134ull << 2) | (15ull << 14), 5ull << 2, ~0ull}) {
    EXPECT_EQ(CQXChaveComposta(raw).Raw(), 0u) << std::hex << raw;
  }

  // The origin's record both ways.
  const CQXChaveComposta fromDmcps(_QX_DMCPS{0x00000F05, 2115, {0, 0}});
  EXPECT_EQ(Parts(fromDmcps), std::tuple(CQXChaveComposta::kindMesAno, 2115u, 15u, 5u));
  EXPECT_EQ(std::pair(fromDmcps.ToDmcps().lChaveModulo, int{fromDmcps.ToDmcps().iData}),
            std::pair(0xF05, 2115));
  EXPECT_EQ(CQXChaveComposta(_QX_DMCPS{0x00000F05, 0, {0, 0}}).PeriodKind(),
            CQXChaveComposta::kindNone);
  CQXChaveComposta dated = Key(5, 15);
  dated.SetData(CQXData::Make(15, 3, 2024));
  EXPECT_EQ(dated.ToDmcps().iData, CQXMesAno::Make(3, 2024).Value());
  dated.SetYear(2024);
  EXPECT_EQ(dated.ToDmcps().iData, 0);
  EXPECT_EQ(Key(0x1FF, 2).ToDmcps().lChaveModulo, 0x2FF);  // module cut to its 8 bits
}

TEST(CQXChaveComposta, TextFormsAndParsingValidEmptyAndMalformedTexts) {
  CQXChaveComposta key = Key(5, 15);
  key.SetMesAno(CQXMesAno::Make(3, 2024));
  const TextCase march[] = {
      {"0324-000015", 0},
      {"2115-15", 3},
      {"15", 4},
      {"", 2},
      {"", 6},
      {"M\363dulo Comercial - Nota Fiscal - M\352s/Ano: 03/24 - Chave: 15", 5}};
  for (const auto& [text, form] : march) EXPECT_EQ(key.Text(form), text) << form;
  key.SetData(CQXData::Make(15, 3, 2024));
  EXPECT_EQ(key.Text(1), "150324-000015");
  EXPECT_EQ(key.Text(5), "M\363dulo Comercial - Nota Fiscal - Data: 15/03/2024 - Chave: 15");
  key.SetModule(21);
  key.SetYear(2024);
  EXPECT_EQ(key.Text(5), "Importa\xE7\xE3o - Ano: 2024 - Chave: 15");
  key.SetModule(24);
  EXPECT_EQ(key.Text(5), "M\363dulo Concilia\xE7\xE3o - Chave: 15");
  key.SetModule(99);
  key.SetYear(0);
  EXPECT_EQ(key.Text(5), "M\363dulo 99 - Chave: 15");
  EXPECT_EQ(CQXChaveComposta().Text(0), "0000-000000");
  EXPECT_EQ(CQXChaveComposta().Text(1), "000000-000000");

  // Parsing valid, empty and malformed texts.
  struct Parsed {
    const char* text;
    int form;
    int kind;
    uint32_t period, key;
  } valid[] = {
      {"0324-000015", 0, CQXChaveComposta::kindMesAno, 2115, 15},
      {"150324-999999", 1, CQXChaveComposta::kindData, CQXData::Make(15, 3, 2024).Value(), 999999},
      {"0399-7", 2, CQXChaveComposta::kindMesAno, CQXMesAno::Make(3, 1999).Value(), 7},
      {"0324-0000000015", 2, CQXChaveComposta::kindMesAno, 2115, 15}};
  for (const auto& [text, form, kind, period, number] : valid) {
    ASSERT_TRUE(key.Parse(text, form)) << text;
    EXPECT_EQ(Parts(key), std::tuple(kind, period, number, 0u)) << text;
  }
  const TextCase emptyTexts[] = {{"0000-000000", 0}, {"000000-000000", 1},
                                 {"0000-000000", 2}, {"", 0},
                                 {"anything", 3},    {"x", -1}};
  const TextCase malformed[] = {
      {"0324-00015", 0},    {"0324-0000150", 0},  {"1324-000015", 0},
      {"0024-000015", 0},   {"0324-000000", 0},   {"03a4-000015", 0},
      {"0324-      ", 0},   {"150324-00001", 1},  {"320324-000015", 1},
      {"001324-000015", 1}, {"150324-000000", 1}, {"300224-000015", 1},
      {"0324-", 2},         {"0324-1000000", 2},  {"0324-99999999999999999999", 2},
      {nullptr, 0},         {nullptr, 3}};
  for (bool empty : {true, false}) {
    for (const auto& [text, form] :
         empty ? std::span<const TextCase>(emptyTexts) : std::span<const TextCase>(malformed)) {
      key.Parse("0324-000015", 0);
      EXPECT_EQ(key.Parse(text, form), empty) << (text ? text : "null") << " " << form;
      EXPECT_EQ(key.Raw(), 0u) << (text ? text : "null") << " " << form;
    }
  }
}

}  // namespace
