#include "dump.h"

#include <ostream>

#include "heap_dump.h"
#include "record_layout.h"

namespace qx::dump {
namespace {

void DumpKind(DumpContext& context) {
  switch (context.name.kind) {
    case FileKind::kEntries:
      return DumpRecords(context, EntryLayout(context));
    case FileKind::kSplits:
      return DumpRecords(context, SplitLayout(context));
    case FileKind::kQuantities:
      return DumpRecords(context, QuantityLayout());
    case FileKind::kCurrency:
      return DumpRecords(context, CurrencyLayout());
    case FileKind::kComplements:
      return DumpComplements(context);
    case FileKind::kControl:
      return DumpRecords(context, ControlLayout());
    case FileKind::kDifferences:
      return DumpRecords(context, DifferenceLayout());
    case FileKind::kImportLayouts:
      return DumpRecords(context, ImportLayoutLayout());
    case FileKind::kNoteIndex:
      return DumpRecords(context, NoteIndexLayout());
    case FileKind::kNoteTexts:
      return DumpNoteTexts(context);
  }
}

}  // namespace

ExitCode DumpFile(const std::string& path, const Options& options, std::ostream& out,
                  std::ostream& err) {
  auto name = ClassifyFileName(path);
  if (!name) {
    err << "qxdump: " << path << ": no known record layout has this file name\n";
    return kExitUsage;
  }
  DumpContext context;
  context.name = *name;
  context.range = options.range;
  std::string error;
  if (!context.file.Open(path, &error)) {
    err << "qxdump: " << error << '\n';
    return kExitUnreadable;
  }
  auto printer = options.json ? MakeJsonPrinter(out) : MakeTablePrinter(out);
  context.printer = printer.get();
  DumpKind(context);
  return context.Damaged() ? kExitDamaged : kExitOk;
}

}  // namespace qx::dump
