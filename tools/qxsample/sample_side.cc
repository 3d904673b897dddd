// The side files of the sample folder.
#include <algorithm>
#include <string>

#include "contract/import_layout_record.h"
#include "platform/codepage.h"
#include "sample.h"
#include "sample_file.h"
#include "storage/records/control_record.h"
#include "storage/records/entry_records.h"
#include "storage/records/note_records.h"
#include "values/entry_key.h"

namespace qx::sample {

void DifferenceBook::Add(uint32_t date, int64_t amount) {
  auto slot = std::find_if(records_.begin(), records_.end(),
                           [date](const DifferenceRecord& r) { return EffectiveDate(r) == date; });
  if (slot == records_.end()) slot = std::find_if(records_.begin(), records_.end(), IsFreeSlot);
  if (slot == records_.end()) slot = records_.insert(records_.end(), DifferenceRecord{});
  slot->Data = date;
  slot->Valor.int64 += amount;
  if (slot->Valor.int64 == 0) *slot = DifferenceRecord{};
}

void WriteDifferences(const std::string& folder, const DifferenceBook& book,
                      std::vector<std::string>* made) {
  SampleFile file(folder, kDifferenceFileName, made);
  file.AppendZeros(kDifferenceRecordSize);
  for (const DifferenceRecord& record : book.Records()) file.Append(record);
}

void WriteImportLayouts(const std::string& folder, std::vector<std::string>* made) {
  SampleFile file(folder, kImportLayoutFileName, made);
  file.AppendZeros(kImportLayoutRecordSize);
  REGFORMATOIMPORT layout{};
  SetField(layout.cNomeFormatoImportacao, kDefaultLayoutName);
  SetField(layout.cSequenciaContabil, kDefaultLayoutSequenciaContabil);
  SetField(layout.cSequenciaGerencial, kDefaultLayoutSequenciaGerencial);
  layout.cDelimitador = kDefaultLayoutDelimiter;
  file.Append(layout);
  SetField(layout.cNomeFormatoImportacao, "FOLHA");
  SetField(layout.cSequenciaContabil, "CDEFGHI");
  SetField(layout.cSequenciaGerencial, "JKL");
  layout.cDelimitador = ';';
  file.Append(layout);
}

void WriteNotes(const std::string& folder, CQXMesAno mesAno, std::vector<std::string>* made) {
  const std::string first = Utf8ToCp1252("Conferido com o extrato bancário.");
  const std::string replaced = Utf8ToCp1252("Conferido com o extrato de janeiro.");
  const std::string other = Utf8ToCp1252("Aguardando a nota fiscal.");
  SampleFile texts(folder, kNoteTextFileName, made);
  // The heap's zero record is as long as the first text written.
  texts.AppendZeros(static_cast<uint32_t>(first.size()));
  auto append = [&texts](const std::string& text) {
    const uint64_t offset = texts.AppendText(text);
    texts.AppendZeros(1);
    return static_cast<uint32_t>(offset);
  };
  append(first);
  const uint32_t replacedAt = append(replaced);
  const uint32_t otherAt = append(other);

  SampleFile index(folder, kNoteIndexFileName, made);
  index.AppendZeros(kNoteIndexRecordSize);
  const uint16_t month = mesAno.Value();
  index.Append(NoteIndexRecord{MakeChaveComposta(1, mesAno), replacedAt, month, {}});
  index.Append(NoteIndexRecord{});  // a cleared note
  index.Append(NoteIndexRecord{MakeChaveComposta(2, mesAno), otherAt, month, {}});
}

void WriteControlFile(const std::string& folder, const std::vector<std::string>& made) {
  std::vector<std::string> ignored;
  SampleFile file(folder, kControlFileName, &ignored);
  file.AppendZeros(kControlRecordSize);
  for (const std::string& name : made) {
    ControlRecord record{};
    std::string upper = name.substr(0, kControlNameMaxLength);
    for (char& c : upper) c = Cp1252ToUpper(c);
    SetField(record.cNomeArquivo, upper);
    file.Append(record);
  }
}

}  // namespace qx::sample
