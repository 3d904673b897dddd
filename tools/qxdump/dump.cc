#include "dump.h"

#include <ostream>

#include "common/falhas.h"
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

void DumpFile(const std::string& path, const Options& options, std::ostream& out) {
  auto name = ClassifyFileName(path);
  if (!name)
    throw cli::ErroUso{path + ": nenhum leiaute de registros conhecido tem este nome de arquivo"};
  DumpContext context;
  context.name = *name;
  context.range = options.range;
  std::string error;
  if (!context.file.Open(path, &error)) throw cli::FalhaLocal(error);
  auto printer = options.form == Form::kJson       ? MakeJsonPrinter(out)
                 : options.form == Form::kCsv      ? MakeCsvPrinter(out, cli::FormaCsv::kProgramas)
                 : options.form == Form::kPlanilha ? MakeCsvPrinter(out, cli::FormaCsv::kPlanilha)
                                                   : MakeTablePrinter(out);
  context.printer = printer.get();
  DumpKind(context);
  out.flush();
  if (context.Damaged())
    throw cli::FalhaLocal(path + " está danificado: mostrei o que se pôde ler",
                          "veja as notas de dano; qxcheck confere a pasta inteira");
}

}  // namespace qx::dump
