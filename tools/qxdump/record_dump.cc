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
    context.Remark("the file is empty: it has no zero record");
    return;
  }
  if (length < size) {
    context.Damage("the file is shorter than its zero record: " + std::to_string(length) + " of " +
                   std::to_string(size) + " bytes");
    return;
  }
  std::vector<unsigned char> record;
  if (context.ReadRecord(0, size, &record) && !AllZero(record)) {
    context.Remark("record 0, the zero record, is not all zero");
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
    context.Remark("the range holds no record: the file has " + std::to_string(count));
  }
  std::vector<unsigned char> record;
  for (uint64_t position = range.first; position <= std::min(range.last, count); ++position) {
    if (!context.ReadRecord(position, size, &record)) break;
    context.printer->Row(layout.row(position, record));
  }
  if (length > size && length % size != 0) {
    context.Damage("record " + std::to_string(count + 1) +
                   " is partial: " + std::to_string(length % size) + " of " + std::to_string(size) +
                   " bytes; not read");
  }
  context.printer->End(count, context.notes);
}

}  // namespace qx::dump
