// The records as CSV, every column (those kept out of the table too); the
// header and the notes are left to the table and JSON forms.
#include <ostream>

#include "common/tabela.h"
#include "printer.h"

namespace qx::dump {
namespace {

class CsvPrinter : public Printer {
 public:
  CsvPrinter(std::ostream& out, cli::FormaCsv forma) : out_(out), forma_(forma) {}

  void Begin(const DumpHeader&, const std::vector<Column>& columns) override {
    out_ << cli::InicioCsv(forma_);
    columns_ = columns.size();
    std::vector<Value> names;
    for (const Column& column : columns) names.emplace_back(std::string(column.name));
    Row(names);
  }

  void Row(const std::vector<Value>& values) override {
    std::string line;
    for (size_t i = 0; i < columns_ && i < values.size(); ++i) {
      if (i > 0) line += forma_ == cli::FormaCsv::kPlanilha ? ';' : ',';
      line += cli::CampoCsv(CellOf(values[i]), forma_);
    }
    out_ << line << "\r\n";
  }

  void End(uint64_t, const std::vector<Note>&) override {}

 private:
  std::ostream& out_;
  cli::FormaCsv forma_;
  size_t columns_ = 0;
};

}  // namespace

std::unique_ptr<Printer> MakeCsvPrinter(std::ostream& out, cli::FormaCsv forma) {
  return std::make_unique<CsvPrinter>(out, forma);
}

}  // namespace qx::dump
