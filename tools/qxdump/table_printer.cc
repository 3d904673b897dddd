// Rows as aligned columns under a title line; notes after the table.
#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>

#include "printer.h"

namespace qx::dump {
namespace {

// The headings people read for the columns the dump names itself; the JSON
// keys and CSV headings keep these names, and record fields (Valor, Debito)
// head their columns as they are named.
constexpr std::array<std::pair<std::string_view, const char*>, 13> kHeadings = {{
    {"date", "data"},
    {"status", "situação"},
    {"module", "módulo"},
    {"key", "chave"},
    {"owner", "dono"},
    {"chain", "cadeia"},
    {"entries", "lançamentos"},
    {"notes", "notas"},
    {"offset", "posição"},
    {"length", "tamanho"},
    {"text", "texto"},
    {"slot", "vaga"},
    {"state", "estado"},
}};

std::string Heading(const Column& column) {
  for (const auto& [name, heading] : kHeadings) {
    if (name == column.name) return heading;
  }
  return column.name;
}

// Characters a terminal shows for a UTF-8 text: every byte but continuation bytes.
size_t DisplayWidth(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

class TablePrinter : public Printer {
 public:
  explicit TablePrinter(std::ostream& out) : out_(out) {}

  void Begin(const DumpHeader& header, const std::vector<Column>& columns) override {
    out_ << header.file << ": " << header.title;
    if (header.recordSize > 0) out_ << ", registros de " << header.recordSize << " bytes";
    out_ << ", " << header.length << " bytes";
    if (header.month) out_ << ", mês " << PeopleText(*header.month);
    out_ << '\n';
    columns_ = columns;
    std::vector<Value> names;
    for (const Column& column : columns_) names.emplace_back(Heading(column));
    Print(names, true);
  }

  void Row(const std::vector<Value>& values) override { Print(values, false); }

  void End(uint64_t count, const std::vector<Note>& notes) override {
    out_ << '(' << count << (count == 1 ? " item" : " itens") << " no arquivo)\n";
    for (const Note& note : notes) out_ << (note.damage ? "dano: " : "nota: ") << note.text << '\n';
  }

 private:
  void Print(const std::vector<Value>& values, bool heading) {
    std::string line;
    for (size_t i = 0; i < columns_.size() && i < values.size(); ++i) {
      if (columns_[i].jsonOnly) continue;
      const std::string cell = PeopleText(values[i]);
      const bool left = std::holds_alternative<std::string>(values[i]) && !heading;
      const size_t width = std::max<size_t>(columns_[i].width, DisplayWidth(Heading(columns_[i])));
      const size_t shown = DisplayWidth(cell);
      const std::string pad(shown < width ? width - shown : 0, ' ');
      if (!line.empty()) line += "  ";
      line += left ? cell + pad : pad + cell;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out_ << line << '\n';
  }

  std::ostream& out_;
  std::vector<Column> columns_;
};

}  // namespace

std::unique_ptr<Printer> MakeTablePrinter(std::ostream& out) {
  return std::make_unique<TablePrinter>(out);
}

}  // namespace qx::dump
