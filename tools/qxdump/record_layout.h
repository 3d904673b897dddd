// How the records of one kind of record file are dumped.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "dump_context.h"
#include "printer.h"

namespace qx::dump {

struct RecordLayout {
  const char* kind;
  const char* title;
  uint32_t recordSize;
  std::vector<Column> columns;
  // The values of the record at a position, one per column.
  std::function<std::vector<Value>(uint64_t position, const std::vector<unsigned char>& record)>
      row;
};

// Month files (CNLC, CNLG, CNLQ, CNLM). The layouts may read more of the file
// and the files beside it through the context, which outlives them.
RecordLayout EntryLayout(DumpContext& context);
RecordLayout SplitLayout(DumpContext& context);
RecordLayout QuantityLayout();
RecordLayout CurrencyLayout();

// Side files.
RecordLayout ControlLayout();
RecordLayout DifferenceLayout();
RecordLayout ImportLayoutLayout();
RecordLayout NoteIndexLayout();

// Prints the records of the context's range (all data records without one)
// with the notes on the file's shape: a missing or non-zero zero record, a
// partial last record (never read).
void DumpRecords(DumpContext& context, const RecordLayout& layout);

}  // namespace qx::dump
