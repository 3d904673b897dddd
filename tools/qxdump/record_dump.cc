// The walk over a record file: the zero record, the data records of the
// range, and a partial last record, which is reported and never read.
#include <algorithm>
#include <string>

#include "record_layout.h"
#include "value_forms.h"

namespace qx::dump {
namespace {

// Notes on record 0, which carries no data and is all zero.
void CheckZeroRecord(DumpContext& context, uint32_t size) {
  const uint64_t length = context.file.Length();
  if (length == 0) {
    context.Remark("o arquivo está vazio: não tem o registro zero");
    return;
  }
  if (length < size) {
    context.Damage("o arquivo é menor que o seu registro zero: " + std::to_string(length) + " de " +
                   std::to_string(size) + " bytes");
    return;
  }
  std::vector<unsigned char> record;
  if (context.ReadRecord(0, size, &record) && !AllZero(record)) {
    context.Remark("o registro 0, o registro zero, não é todo zero");
  }
}

}  // namespace

void DumpRecords(DumpContext& context, const RecordLayout& layout) {
  const uint32_t size = layout.recordSize;
  const uint64_t length = context.file.Length();
  const uint64_t count = length / size == 0 ? 0 : length / size - 1;
  context.printer->Begin(context.Header(layout.kind, layout.title, size), layout.columns);
  CheckZeroRecord(context, size);

  const Range range = context.range.value_or(Range{1, count});
  if (context.range && range.first > count) {
    context.Remark("o intervalo não tem registro: o arquivo tem " + std::to_string(count));
  }
  std::vector<unsigned char> record;
  for (uint64_t position = range.first; position <= std::min(range.last, count); ++position) {
    if (!context.ReadRecord(position, size, &record)) break;
    context.printer->Row(layout.row(position, record));
  }
  if (length > size && length % size != 0) {
    context.Damage("o registro " + std::to_string(count + 1) +
                   " está incompleto: " + std::to_string(length % size) + " de " +
                   std::to_string(size) + " bytes; não foi lido");
  }
  context.printer->End(count, context.notes);
}

}  // namespace qx::dump
