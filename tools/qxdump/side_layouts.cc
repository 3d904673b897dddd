// Layouts of the side files with records: the control file, the debit/credit
// differences, the import layouts and the note index.
#include <string>

#include "contract/import_layout_record.h"
#include "record_layout.h"
#include "storage/records/control_record.h"
#include "storage/records/difference_record.h"
#include "storage/records/note_records.h"
#include "value_forms.h"

namespace qx::dump {
namespace {

Value Position(uint64_t position) { return Number(static_cast<int64_t>(position)); }

}  // namespace

RecordLayout ControlLayout() {
  return {"QXCTLARQ",
          "arquivos da criação controlada",
          kControlRecordSize,
          {{"pos", 6}, {"cNomeArquivo", 0}},
          [](uint64_t position, const std::vector<unsigned char>& bytes) {
            const auto record = As<ControlRecord>(bytes);
            return std::vector<Value>{Position(position),
                                      TextField(record.cNomeArquivo, sizeof record.cNomeArquivo)};
          }};
}

RecordLayout DifferenceLayout() {
  return {"CNDIFDC",
          "diferenças de débito e crédito",
          kDifferenceRecordSize,
          {{"pos", 6},
           {"Valor", 16},
           {"Data", 10},
           {"usDataLegada", 12},
           {"date", 10},
           {"Filial", 6},
           {"Usuario", 7},
           {"slot", 4}},
          [](uint64_t position, const std::vector<unsigned char>& bytes) {
            const auto record = As<DifferenceRecord>(bytes);
            return std::vector<Value>{Position(position),
                                      Money{record.Valor.int64},
                                      DateValue(record.Data),
                                      Number(record.usDataLegada),
                                      DateValue(EffectiveDate(record)),
                                      Number(record.Filial),
                                      Number(record.Usuario),
                                      std::string(IsFreeSlot(record) ? "livre" : "usado")};
          }};
}

RecordLayout ImportLayoutLayout() {
  return {"CNFORIMP",
          "formatos de importação",
          kImportLayoutRecordSize,
          {{"pos", 6},
           {"cNomeFormatoImportacao", 22},
           {"cSequenciaContabil", 22},
           {"cSequenciaGerencial", 19},
           {"cDelimitador", 12},
           {"cFiller", 7}},
          [](uint64_t position, const std::vector<unsigned char>& bytes) {
            const auto layout = As<REGFORMATOIMPORT>(bytes);
            const char delimiter = static_cast<char>(layout.cDelimitador);
            return std::vector<Value>{
                Position(position),
                TextField(layout.cNomeFormatoImportacao, sizeof layout.cNomeFormatoImportacao),
                TextField(layout.cSequenciaContabil, sizeof layout.cSequenciaContabil),
                TextField(layout.cSequenciaGerencial, sizeof layout.cSequenciaGerencial),
                TextField(&delimiter, 1),
                Number(layout.cFiller)};
          }};
}

RecordLayout NoteIndexLayout() {
  return {"CNNTEXPL",
          "índice das notas explicativas",
          kNoteIndexRecordSize,
          {{"pos", 6}, {"lChave", 10}, {"lPosicaoTexto", 13}, {"iMesAno", 7}, {"state", 7}},
          [](uint64_t position, const std::vector<unsigned char>& bytes) {
            const auto note = As<NoteIndexRecord>(bytes);
            return std::vector<Value>{Position(position), Number(note.lChave),
                                      Number(note.lPosicaoTexto), MonthValue(note.iMesAno),
                                      std::string(AllZero(bytes) ? "limpo" : "nota")};
          }};
}

}  // namespace qx::dump
