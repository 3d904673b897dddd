// qxdump on the side files written by the test: differences, import layouts,
// the control file and the explanatory notes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "contract/import_layout_record.h"
#include "qxdump_run.h"
#include "storage/records/control_record.h"
#include "storage/records/difference_record.h"
#include "storage/records/note_records.h"
#include "values/qx_data.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;

TEST(QxdumpSideTest, DifferencesShowTheEffectiveDateAndFreeSlots) {
  TempDir dir;
  const uint32_t march1 = CQXData::Make(1, 3, 2024).Value();
  const uint32_t jan2 = CQXData::Make(2, 1, 2024).Value();
  WriteRecordFile(dir / kDifferenceFileName,
                  std::vector<DifferenceRecord>{{{1'000'000}, march1, 0, 1, 2},
                                                {{0}, march1, 0, 0, 0},  // total back to 0
                                                {{5}, march1, static_cast<uint16_t>(jan2), 0, 0}});
  Json json = DumpJson(dir, "cndifdc.dat");
  Json& records = json["records"];
  EXPECT_EQ(records[0]["Valor"], "100.00");
  EXPECT_EQ(records[0]["date"], "2024-03-01");
  EXPECT_EQ(records[0]["Usuario"], 2);
  EXPECT_EQ(records[0]["slot"], "usado");
  EXPECT_EQ(records[1]["Data"], "2024-03-01");
  EXPECT_TRUE(records[1]["date"].is_null());
  EXPECT_EQ(records[1]["slot"], "livre");
  EXPECT_EQ(records[2]["date"], "2024-01-02");  // the legacy date wins
}

TEST(QxdumpSideTest, ImportLayoutsAndControlNamesAreConvertedToUtf8) {
  TempDir dir;
  REGFORMATOIMPORT standard{}, full{};
  std::strcpy(standard.cNomeFormatoImportacao, kDefaultLayoutName);
  std::strcpy(standard.cSequenciaContabil, kDefaultLayoutSequenciaContabil);
  std::strcpy(standard.cSequenciaGerencial, kDefaultLayoutSequenciaGerencial);
  standard.cDelimitador = kDefaultLayoutDelimiter;
  std::memcpy(full.cNomeFormatoImportacao, "ABCDEFGHIJKL", 12);  // no terminator in its field
  std::memcpy(full.cSequenciaContabil, "X", 1);
  full.cDelimitador = '|';
  WriteRecordFile(dir / "CNFORIMP.TMP", std::vector{standard, full});
  Json layouts = DumpJson(dir, "CNFORIMP.TMP");
  EXPECT_EQ(layouts["kind"], "CNFORIMP");
  EXPECT_EQ(layouts["records"][0]["cNomeFormatoImportacao"], "Padr\u00e3o");
  EXPECT_EQ(layouts["records"][0]["cSequenciaGerencial"], "JK");
  EXPECT_EQ(layouts["records"][0]["cDelimitador"], ",");
  EXPECT_EQ(layouts["records"][1]["cNomeFormatoImportacao"], "ABCDEFGHIJKL");
  EXPECT_EQ(layouts["records"][1]["cSequenciaContabil"], "X");

  ControlRecord made{};
  std::strcpy(made.cNomeArquivo, "CNLC0324.DAT");
  ControlRecord odd{};
  std::strcpy(odd.cNomeArquivo, "A\xC7\xC3O.DAT");  // Windows-1252 upper-case letters
  WriteRecordFile(dir / kControlFileName, std::vector{made, odd});
  const DumpRun table = RunQxdump(dir, {"QXCTLARQ.dat"});
  EXPECT_EQ(table.code, 0);
  EXPECT_THAT(table.out, HasSubstr("CNLC0324.DAT"));
  EXPECT_THAT(table.out, HasSubstr("A\u00c7\u00c3O.DAT"));
}

TEST(QxdumpSideTest, NoteTextsAreListedWithTheIndexRecordsNamingThem) {
  TempDir dir;
  // The heap's zero record is as long as its first text.
  WriteText(dir / kNoteTextFileName,
            std::string(5, '\0') + "First" + '\0' + "Nota revisada" + '\0');
  WriteRecordFile(dir / kNoteIndexFileName,
                  std::vector<NoteIndexRecord>{{4097, 11, 2117, {}},
                                               {},                     // a cleared note
                                               {8193, 3, 2117, {}}});  // inside the zero record
  Json index = DumpJson(dir, kNoteIndexFileName);
  EXPECT_EQ(index["records"][0]["lPosicaoTexto"], 11);
  EXPECT_EQ(index["records"][0]["iMesAno"], "2024-05");
  EXPECT_EQ(index["records"][1]["state"], "limpo");

  Json texts = DumpJson(dir, kNoteTextFileName);
  ASSERT_EQ(texts["records"].size(), 2u);
  EXPECT_EQ(texts["records"][0]["offset"], 5);
  EXPECT_TRUE(texts["records"][0]["notes"].empty());  // replaced, still in the heap
  EXPECT_EQ(texts["records"][1]["text"], "Nota revisada");
  EXPECT_EQ(texts["records"][1]["notes"][0], 1);
  EXPECT_THAT(texts["notes"][0].get<std::string>(), HasSubstr("a nota 3 aponta a posição 3"));
  EXPECT_FALSE(texts["damaged"].get<bool>());

  // A text cut off before its zero byte.
  WriteText(dir / kNoteTextFileName, std::string(5, '\0') + "First" + '\0' + "Nota rev");
  const DumpRun cut = RunQxdump(dir, {"--json", kNoteTextFileName});
  EXPECT_EQ(cut.code, 1);
  auto json = ParseJson(cut.out);
  ASSERT_TRUE(json.has_value());
  EXPECT_EQ((*json)["records"][1]["text"], "Nota rev");
  EXPECT_TRUE((*json)["damaged"].get<bool>());
}

}  // namespace
}  // namespace qx::test
