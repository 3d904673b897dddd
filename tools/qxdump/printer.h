// What a dump prints: a title, rows of values under named columns, and notes.
// The same rows go to a table for people or to JSON for scripts.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "common/tabela.h"

namespace qx::dump {

// Money, in ten-thousandths.
struct Money {
  int64_t value;
};
// A day-number date and a month-year, both valid.
struct Date {
  uint32_t day;
};
struct Month {
  uint16_t value;
};

// Texts are UTF-8. Nothing (monostate) prints as "-" and as null. Amounts,
// dates and months print as every tool prints them: 1.234,56, 15/02/2024 and
// 02/2024 in the table; "1234.56", "2024-02-15" and "2024-02" in JSON and CSV.
using Value =
    std::variant<std::monostate, int64_t, Money, Date, Month, std::string, std::vector<int64_t>>;

struct Column {
  const char* name;
  int width;              // table width; texts are left-aligned, everything else right
  bool jsonOnly = false;  // kept out of the table
};

struct DumpHeader {
  std::string file;         // name without folder
  std::string kind;         // prefix or base name of the layout: "CNLC", "QXCTLARQ", ...
  std::string title;        // what the file holds
  uint32_t recordSize = 0;  // 0 for a byte heap
  uint64_t length = 0;
  std::optional<Month> month;  // of a month file
};

struct Note {
  std::string text;
  bool damage;  // the file is damaged, not just unusual
};

class Printer {
 public:
  virtual ~Printer() = default;
  virtual void Begin(const DumpHeader& header, const std::vector<Column>& columns) = 0;
  virtual void Row(const std::vector<Value>& values) = 0;
  // count: the records (or texts) the file holds, whatever the range showed.
  virtual void End(uint64_t count, const std::vector<Note>& notes) = 0;
};

std::unique_ptr<Printer> MakeTablePrinter(std::ostream& out);
std::unique_ptr<Printer> MakeJsonPrinter(std::ostream& out);
// The records as CSV of that form: a heading line, then one line per record.
std::unique_ptr<Printer> MakeCsvPrinter(std::ostream& out, cli::FormaCsv forma);

// A value's text: for people, or for JSON and CSV (nothing is "" in both).
std::string PeopleText(const Value& value);
std::string PlainText(const Value& value);
// The value as a cell of the tools' tables.
cli::Celula CellOf(const Value& value);

}  // namespace qx::dump
