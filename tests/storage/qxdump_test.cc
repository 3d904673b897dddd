// qxdump on files written by the test: month files (entries, split lines and
// their chains, complement texts, quantities and foreign-currency amounts),
// side files (differences, import layouts, the control file, the notes),
// damaged files, unknown names, files others hold open, and its command line.
#include <gtest/gtest.h>

#include <cstring>

#include "contract/import_layout_record.h"
#include "platform/file.h"
#include "qxdump_run.h"
#include "storage/records/control_record.h"
#include "storage/records/difference_record.h"
#include "storage/records/entry_records.h"
#include "storage/records/note_records.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx::test {
namespace {

// A fresh folder for each test.
class Qxdump : public ::testing::Test {
 protected:
  TempDir dir;
};

// Runs qxdump in the folder: it exits with `code` and its output (or another
// of its streams) holds each of the parts.
DumpRun ExpectDump(const TempDir& dir, const std::vector<std::string>& args, int code,
                   std::initializer_list<std::string> parts,
                   std::string DumpRun::*stream = &DumpRun::out) {
  DumpRun run = RunQxdump(dir, args);
  EXPECT_EQ(run.code, code) << run.err;
  ExpectContains(run.*stream, parts);
  return run;
}

EntryRecord Entry(int32_t documento, int day, uint8_t status = kEntryLive, int64_t valor = 0) {
  EntryRecord entry{};
  entry.Documento = documento;
  entry.cDia = static_cast<int8_t>(day);
  entry.cStatus = status;
  entry.Valor.int64 = valor;
  return entry;
}

TEST_F(Qxdump, EntriesShowStatusWordsDatesRebuiltFromTheFileMonthAndMoney) {
  EntryRecord sold = Entry(1001, 15, kEntryLive, 15'000'000);
  sold.Debito = 1101;
  sold.Credito = 2101;
  sold.Filial = 3;
  sold.lChaveModulo = MakeChaveModulo(7, kImportModule);
  sold.iData = CQXMesAno::Make(2, 2024).Value();
  const EntryRecord late = Entry(1002, 31, kEntryDeleted);  // 31 February is cut to the 29th
  const EntryRecord foreign = Entry(1003, 1, kEntryLiveWithCurrency, -1);
  WriteRecordFile(dir / "cnlc0224.dat", std::vector{sold, late, foreign});

  ExpectDump(dir, {"cnlc0224.dat"}, 0,
             {"mês 02/2024", "15/02/2024", "29/02/2024", "ativo+moeda", "-0,0001"});
  ExpectAt(DumpJson(dir, "cnlc0224.dat"), R"({"/kind": "CNLC", "/record_size": 50, "/count": 3,
      "/damaged": false, "/records/0/date": "2024-02-15", "/records/0/status": "ativo",
      "/records/0/Documento": 1001, "/records/0/Valor": "1500.00", "/records/0/Filial": 3,
      "/records/0/module": 21, "/records/0/key": 7, "/records/0/iData": "2024-02",
      "/records/1/status": "excluído", "/records/2/Valor": "-0.0001"})");
  // Month part "0000" names month-year 0: no date can be rebuilt.
  WriteRecordFile(dir / "CNLC0000.DAT", std::vector{sold});
  ExpectAt(DumpJson(dir, "CNLC0000.DAT"), R"({"/records/0/date": null, "/month": null})");
  // Quantities and foreign-currency amounts are money.
  WriteRecordFile(dir / "CNLQ0324.DAT", std::vector<REGQTD_GER>{{{25'000}}, {{-5}}});
  WriteRecordFile(dir / "CNLM0324.DAT", std::vector<CurrencyRecord>{{{0}, {}}, {{1'234'500}, {}}});
  ExpectAt(DumpJson(dir, "CNLQ0324.DAT"), R"({"/records/0/Quantidade": "2.50",
      "/records/1/Quantidade": "-0.0005"})");
  ExpectAt(DumpJson(dir, "CNLM0324.DAT"), R"({"/record_size": 12,
      "/records/1/ValorMoeda": "123.45"})");
}

TEST_F(Qxdump, SplitLinesShowTheirChainsAndTheEntriesNamingThem) {
  EntryRecord first = Entry(1, 5), plain = first, third = first;
  first.Gerencial = 1;
  third.Gerencial = 4;
  WriteRecordFile(dir / "CNLC0324.DAT", std::vector{first, plain, third});
  WriteRecordFile(dir / "CNLG0324.DAT",
                  std::vector<REGLAN_GER>{{{100}, 1, 11, 3101},
                                          {{200}, 0x10000001, 12, 3101},  // same owner bits
                                          {},                             // removed
                                          {{300}, 3, 11, 1101},
                                          {{400}, 3, 12, 1101},
                                          {{500}, 3, 13, 1101}});
  ExpectAt(DumpJson(dir, "CNLG0324.DAT"), R"({"/records/0/chain": 1, "/records/1/chain": 1,
      "/records/2/chain": null, "/records/3/chain": 4, "/records/4/chain": 4, "/records/5/chain": 4,
      "/records/1/owner": 1, "/records/0/entries": [1], "/records/3/entries": [3],
      "/records/4/entries": []})");
  // A range that starts inside a chain still finds the chain's first line.
  const Json tail = DumpJson(dir, "CNLG0324.DAT", {"5-6"});
  ExpectAt(tail, R"({"/records/0/pos": 5, "/records/1/chain": 4, "/records/2": null})");
}

TEST_F(Qxdump, ComplementTextsAreSplitAtTheOffsetsEntriesName) {
  // Byte 0, a replaced text, then three texts; "\xE0" is a Windows-1252 a-grave.
  WriteText(dir / "CNLH0324.DAT",
            std::string(" Venda") + "Venda \xE0 vista" + "Aluguel\r" + "Sobra");
  std::vector<EntryRecord> entries;
  for (int32_t offset : {6, 19, 27, 999}) {
    entries.push_back(Entry(1, 5));
    entries.back().Complemento = offset;
  }
  WriteRecordFile(dir / "CNLC0324.DAT", entries);
  const Json json = DumpJson(dir, "CNLH0324.DAT");
  ExpectAt(json, R"({"/records/0/offset": 1, "/records/0/text": "Venda", "/records/0/entries": [],
      "/records/1/text": "Venda \u00e0 vista", "/records/1/entries": [1],
      "/records/2/text": "Aluguel\r", "/records/3/offset": 27, "/records/4": null,
      "/damaged": false})");
  ExpectContains(json.value("notes", Json::array()).dump(),
                 {"o lançamento 4 aponta a posição 999"});

  const DumpRun table = ExpectDump(dir, {"CNLH0324.DAT", "19-27"}, 0, {"Aluguel\\r"});
  EXPECT_EQ(table.out.find("vista"), std::string::npos);
}

TEST_F(Qxdump, DifferencesShowTheEffectiveDateAndFreeSlots) {
  const uint32_t march1 = CQXData::Make(1, 3, 2024).Value();
  const uint32_t jan2 = CQXData::Make(2, 1, 2024).Value();
  WriteRecordFile(dir / kDifferenceFileName,
                  std::vector<DifferenceRecord>{{{1'000'000}, march1, 0, 1, 2},
                                                {{0}, march1, 0, 0, 0},  // total back to 0
                                                {{5}, march1, static_cast<uint16_t>(jan2), 0, 0},
                                                {{0}, march1, 0, 2, 0}});  // a branch: taken
  // Record 2's legacy date wins.
  ExpectAt(DumpJson(dir, "cndifdc.dat"), R"({"/records/0/Valor": "100.00",
      "/records/0/date": "2024-03-01", "/records/0/Usuario": 2, "/records/0/slot": "usado",
      "/records/1/Data": "2024-03-01", "/records/1/date": null, "/records/1/slot": "livre",
      "/records/2/date": "2024-01-02", "/records/3/slot": "usado"})");
}

TEST_F(Qxdump, ImportLayoutsAndControlNamesAreConvertedToUtf8) {
  REGFORMATOIMPORT standard{}, full{};
  std::strcpy(standard.cNomeFormatoImportacao, kDefaultLayoutName);
  std::strcpy(standard.cSequenciaContabil, kDefaultLayoutSequenciaContabil);
  std::strcpy(standard.cSequenciaGerencial, kDefaultLayoutSequenciaGerencial);
  standard.cDelimitador = kDefaultLayoutDelimiter;
  std::memcpy(full.cNomeFormatoImportacao, "ABCDEFGHIJKL", 12);  // no terminator in its field
  std::memcpy(full.cSequenciaContabil, "X", 1);
  full.cDelimitador = '|';
  WriteRecordFile(dir / "CNFORIMP.TMP", std::vector{standard, full});
  ExpectAt(DumpJson(dir, "CNFORIMP.TMP"), R"({"/kind": "CNFORIMP",
      "/records/0/cNomeFormatoImportacao": "Padr\u00e3o", "/records/0/cSequenciaGerencial": "JK",
      "/records/0/cDelimitador": ",", "/records/1/cNomeFormatoImportacao": "ABCDEFGHIJKL",
      "/records/1/cSequenciaContabil": "X"})");

  ControlRecord made{}, odd{};
  std::strcpy(made.cNomeArquivo, "CNLC0324.DAT");
  std::strcpy(odd.cNomeArquivo, "A\xC7\xC3O.DAT");  // Windows-1252 upper-case letters
  WriteRecordFile(dir / kControlFileName, std::vector{made, odd});
  ExpectDump(dir, {"QXCTLARQ.dat"}, 0, {"CNLC0324.DAT", "A\u00c7\u00c3O.DAT"});
}

TEST_F(Qxdump, NoteTextsAreListedWithTheIndexRecordsNamingThem) {
  // The heap's zero record is as long as its first text.
  WriteText(dir / kNoteTextFileName,
            std::string(5, '\0') + "First" + '\0' + "Nota revisada" + '\0');
  WriteRecordFile(dir / kNoteIndexFileName,
                  std::vector<NoteIndexRecord>{{4097, 11, 2117, {}},
                                               {},                     // a cleared note
                                               {8193, 3, 2117, {}}});  // inside the zero record
  ExpectAt(DumpJson(dir, kNoteIndexFileName), R"({"/records/0/lPosicaoTexto": 11,
      "/records/0/iMesAno": "2024-05", "/records/1/state": "limpo"})");
  const Json texts = DumpJson(dir, kNoteTextFileName);
  // The replaced text stays in the heap.
  ExpectAt(texts, R"({"/records/2": null, "/records/0/offset": 5, "/records/0/notes": [],
      "/records/1/text": "Nota revisada", "/records/1/notes/0": 1, "/damaged": false})");
  ExpectContains(texts.value("notes", Json::array()).dump(), {"a nota 3 aponta a posição 3"});

  // A text cut off before its zero byte.
  WriteText(dir / kNoteTextFileName, std::string(5, '\0') + "First" + '\0' + "Nota rev");
  const DumpRun cut = ExpectDump(dir, {"--json", kNoteTextFileName}, 1, {});
  ExpectAt(ParseJson(cut.out).value_or(Json()), R"({"/records/1/text": "Nota rev",
      "/damaged": true})");
}

std::vector<EntryRecord> TwoEntries() { return {Entry(41, 3, 0), Entry(42, 3, 0)}; }

TEST_F(Qxdump, APartialLastRecordIsReportedAndNeverRead) {
  WriteRecordFile(dir / "CNLC0324.DAT", TwoEntries(), std::string(20, '\x7F'));
  ExpectDump(
      dir, {"CNLC0324.DAT"}, 1,
      {"dano: o registro 3 está incompleto: 20 de 50 bytes; não foi lido", "(2 itens no arquivo)"});
  ExpectAt(DumpJson(dir, "CNLC0324.DAT", {"1-"}),
           R"({"/records/1/Documento": 42, "/records/2": null, "/damaged": true})");

  // Shorter than its zero record; empty; a zero record that is not zero
  // (its bytes 01 shown as an amount).
  const struct {
    std::vector<std::string> args;  // the file, then the range
    std::string bytes;
    int code;
    std::initializer_list<std::string> lines;
  } shapes[] = {{{"CNLG0324.DAT"},
                 std::string(10, '\0'),
                 1,
                 {"dano: o arquivo é menor que o seu registro zero: 10 de 20 bytes"}},
                {{"CNLM0324.DAT"}, "", 0, {"nota: o arquivo está vazio"}},
                {{"CNLQ0324.DAT", "0"},
                 std::string(8, '\x01'),
                 0,
                 {"o registro 0, o registro zero, não é todo zero", "7.234.017.283.807,6673"}}};
  for (const auto& shape : shapes) {
    WriteText(dir / shape.args[0], shape.bytes);
    ExpectDump(dir, shape.args, shape.code, shape.lines);
  }
}

TEST_F(Qxdump, UnknownNamesMissingFilesAndBadArgumentsAreRefused) {
  WriteText(dir / "NOTES.DAT", std::string(50, '\0'));
  const DumpRun unknown =
      ExpectDump(dir, {"NOTES.DAT"}, 2, {"nenhum leiaute de registros conhecido"}, &DumpRun::err);
  EXPECT_TRUE(unknown.out.empty());
  ExpectDump(dir, {"CNLC0124.DAT"}, 1, {"arquivo não encontrado"}, &DumpRun::err);
  const std::vector<std::string> usages[] = {{"CNLX0324.DAT"},
                                             {},
                                             {"--bogus", "CNLC0124.DAT"},
                                             {"CNLC0124.DAT", "5-2"},
                                             {"CNLC0124.DAT", "x"}};
  for (const auto& args : usages) EXPECT_EQ(RunQxdump(dir, args).code, 2) << args.size();
}

TEST_F(Qxdump, ReadsFilesThatAWriterHoldsButNotExclusiveOnes) {
  const std::string path = dir / "CNLC0324.DAT";
  WriteRecordFile(path, TwoEntries());
  {
    CFile writer;  // as the server holds a month file: read-write, denying other writers
    ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyWrite));
    ExpectDump(dir, {"CNLC0324.DAT"}, 0, {"(2 itens no arquivo)"});
  }
  CFile exclusive;
  ASSERT_TRUE(exclusive.Open(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive));
  ExpectDump(dir, {"CNLC0324.DAT"}, 1, {"violação de compartilhamento"}, &DumpRun::err);
}

}  // namespace
}  // namespace qx::test
