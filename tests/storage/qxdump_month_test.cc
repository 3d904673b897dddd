// qxdump on month files written by the test: entries, split lines and their
// chains, complement texts, quantities and foreign-currency amounts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "qxdump_run.h"
#include "storage/records/entry_records.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;

EntryRecord Entry(int32_t documento, int day, uint8_t status, int64_t valor) {
  EntryRecord entry{};
  entry.Documento = documento;
  entry.cDia = static_cast<int8_t>(day);
  entry.cStatus = status;
  entry.Valor.int64 = valor;
  return entry;
}

TEST(QxdumpMonthTest, EntriesShowStatusWordsAndDatesRebuiltFromTheFileMonth) {
  TempDir dir;
  EntryRecord sold = Entry(1001, 15, kEntryLive, 15'000'000);
  sold.Debito = 1101;
  sold.Credito = 2101;
  sold.Filial = 3;
  sold.lChaveModulo = MakeChaveModulo(7, kImportModule);
  sold.iData = CQXMesAno::Make(2, 2024).Value();
  const EntryRecord late = Entry(1002, 31, kEntryDeleted, 0);  // 31 February is cut to the 29th
  const EntryRecord foreign = Entry(1003, 1, kEntryLiveWithCurrency, -1);
  WriteRecordFile(dir / "cnlc0224.dat", std::vector{sold, late, foreign});

  const DumpRun table = RunQxdump(dir, {"cnlc0224.dat"});
  EXPECT_EQ(table.code, 0) << table.err;
  EXPECT_THAT(table.out, HasSubstr("mês 02/2024"));
  EXPECT_THAT(table.out, HasSubstr("15/02/2024"));
  EXPECT_THAT(table.out, HasSubstr("29/02/2024"));
  EXPECT_THAT(table.out, HasSubstr("ativo+moeda"));
  EXPECT_THAT(table.out, HasSubstr("-0,0001"));

  Json json = DumpJson(dir, "cnlc0224.dat");
  EXPECT_EQ(json["kind"], "CNLC");
  EXPECT_EQ(json["record_size"], 50);
  EXPECT_EQ(json["count"], 3);
  EXPECT_FALSE(json["damaged"].get<bool>());
  Json& first = json["records"][0];
  EXPECT_EQ(first["date"], "2024-02-15");
  EXPECT_EQ(first["status"], "ativo");
  EXPECT_EQ(first["Documento"], 1001);
  EXPECT_EQ(first["Valor"], "1500.00");
  EXPECT_EQ(first["Filial"], 3);
  EXPECT_EQ(first["module"], 21);
  EXPECT_EQ(first["key"], 7);
  EXPECT_EQ(first["iData"], "2024-02");
  EXPECT_EQ(json["records"][1]["status"], "excluído");
  EXPECT_EQ(json["records"][2]["Valor"], "-0.0001");

  // Month part "0000" names month-year 0: no date can be rebuilt.
  WriteRecordFile(dir / "CNLC0000.DAT", std::vector{sold});
  Json zero = DumpJson(dir, "CNLC0000.DAT");
  EXPECT_TRUE(zero["records"][0]["date"].is_null());
  EXPECT_TRUE(zero["month"].is_null());
}

TEST(QxdumpMonthTest, SplitLinesShowTheirChainsAndTheEntriesNamingThem) {
  TempDir dir;
  EntryRecord first = Entry(1, 5, kEntryLive, 0), plain = first, third = first;
  first.Gerencial = 1;
  third.Gerencial = 4;
  WriteRecordFile(dir / "CNLC0324.DAT", std::vector{first, plain, third});
  const REGLAN_GER removed{};
  WriteRecordFile(dir / "CNLG0324.DAT",
                  std::vector<REGLAN_GER>{{{100}, 1, 11, 3101},
                                          {{200}, 0x10000001, 12, 3101},  // same owner bits
                                          removed,
                                          {{300}, 3, 11, 1101},
                                          {{400}, 3, 12, 1101},
                                          {{500}, 3, 13, 1101}});

  Json json = DumpJson(dir, "CNLG0324.DAT");
  std::vector<std::string> chains;
  for (const Json& line : json["records"]) {
    chains.push_back(line["chain"].is_null() ? "-" : line["chain"].dump());
  }
  EXPECT_THAT(chains, ::testing::ElementsAre("1", "1", "-", "4", "4", "4"));
  EXPECT_EQ(json["records"][1]["owner"], 1);
  EXPECT_THAT(json["records"][0]["entries"].get<std::vector<int64_t>>(), ::testing::ElementsAre(1));
  EXPECT_THAT(json["records"][3]["entries"].get<std::vector<int64_t>>(), ::testing::ElementsAre(3));
  EXPECT_TRUE(json["records"][4]["entries"].empty());

  // A range that starts inside a chain still finds the chain's first line.
  Json tail = DumpJson(dir, "CNLG0324.DAT", {"5-6"});
  ASSERT_EQ(tail["records"].size(), 2u);
  EXPECT_EQ(tail["records"][0]["pos"], 5);
  EXPECT_EQ(tail["records"][1]["chain"], 4);
}

TEST(QxdumpMonthTest, ComplementTextsAreSplitAtTheOffsetsEntriesName) {
  TempDir dir;
  // Byte 0, a replaced text, then three texts; "\xE0" is a Windows-1252 a-grave.
  WriteText(dir / "CNLH0324.DAT",
            std::string(" Venda") + "Venda \xE0 vista" + "Aluguel\r" + "Sobra");
  EntryRecord entry = Entry(1, 5, kEntryLive, 0);
  std::vector<EntryRecord> entries;
  for (int32_t offset : {6, 19, 27, 999}) {
    entry.Complemento = offset;
    entries.push_back(entry);
  }
  WriteRecordFile(dir / "CNLC0324.DAT", entries);

  Json json = DumpJson(dir, "CNLH0324.DAT");
  Json& texts = json["records"];
  ASSERT_EQ(texts.size(), 4u) << json["notes"][0].get<std::string>();
  EXPECT_EQ(texts[0]["offset"], 1);
  EXPECT_EQ(texts[0]["text"], "Venda");
  EXPECT_TRUE(texts[0]["entries"].empty());
  EXPECT_EQ(texts[1]["text"], "Venda \u00e0 vista");
  EXPECT_THAT(texts[1]["entries"].get<std::vector<int64_t>>(), ::testing::ElementsAre(1));
  EXPECT_EQ(texts[2]["text"], "Aluguel\r");
  EXPECT_EQ(texts[3]["offset"], 27);
  EXPECT_THAT(json["notes"][0].get<std::string>(),
              HasSubstr("o lançamento 4 aponta a posição 999"));
  EXPECT_FALSE(json["damaged"].get<bool>());

  const DumpRun table = RunQxdump(dir, {"CNLH0324.DAT", "19-27"});
  EXPECT_EQ(table.code, 0);
  EXPECT_THAT(table.out, HasSubstr("Aluguel\\r"));
  EXPECT_THAT(table.out, ::testing::Not(HasSubstr("vista")));
}

TEST(QxdumpMonthTest, QuantitiesAndForeignCurrencyAmountsAreMoney) {
  TempDir dir;
  WriteRecordFile(dir / "CNLQ0324.DAT", std::vector<REGQTD_GER>{{{25'000}}, {{-5}}});
  WriteRecordFile(dir / "CNLM0324.DAT", std::vector<CurrencyRecord>{{{0}, {}}, {{1'234'500}, {}}});
  Json quantities = DumpJson(dir, "CNLQ0324.DAT");
  EXPECT_EQ(quantities["records"][0]["Quantidade"], "2.50");
  EXPECT_EQ(quantities["records"][1]["Quantidade"], "-0.0005");
  Json currency = DumpJson(dir, "CNLM0324.DAT");
  EXPECT_EQ(currency["record_size"], 12);
  EXPECT_EQ(currency["records"][1]["ValorMoeda"], "123.45");
}

}  // namespace
}  // namespace qx::test
