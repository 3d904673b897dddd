// One JSON object per file: the header fields, "records" (one object per
// row, keyed by column name) and "notes".
#include <ostream>

#include "printer.h"
#include "text_format.h"

namespace qx::dump {
namespace {

std::string JsonValue(const Value& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return "null"; }
    std::string operator()(int64_t number) const { return std::to_string(number); }
    std::string operator()(Money money) const { return FormatMoney(money.value); }
    std::string operator()(const std::string& text) const { return JsonString(text); }
    std::string operator()(const std::vector<int64_t>& list) const {
      return std::string(1, '[').append(JoinNumbers(list)).append(1, ']');
    }
  };
  return std::visit(Visitor{}, value);
}

class JsonPrinter : public Printer {
 public:
  explicit JsonPrinter(std::ostream& out) : out_(out) {}

  void Begin(const DumpHeader& header, const std::vector<Column>& columns) override {
    columns_ = columns;
    out_ << "{\"file\":" << JsonString(header.file) << ",\"kind\":" << JsonString(header.kind)
         << ",\"title\":" << JsonString(header.title) << ",\"record_size\":" << header.recordSize
         << ",\"length\":" << header.length
         << ",\"month\":" << (header.month ? JsonString(*header.month) : "null")
         << ",\"records\":[";
  }

  void Row(const std::vector<Value>& values) override {
    out_ << (rows_++ == 0 ? "\n" : ",\n") << '{';
    for (size_t i = 0; i < columns_.size() && i < values.size(); ++i) {
      out_ << (i == 0 ? "" : ",") << JsonString(columns_[i].name) << ':' << JsonValue(values[i]);
    }
    out_ << '}';
  }

  void End(uint64_t count, const std::vector<Note>& notes) override {
    bool damaged = false;
    out_ << "],\n\"count\":" << count << ",\"notes\":[";
    for (size_t i = 0; i < notes.size(); ++i) {
      out_ << (i == 0 ? "" : ",") << JsonString(notes[i].text);
      damaged = damaged || notes[i].damage;
    }
    out_ << "],\"damaged\":" << (damaged ? "true" : "false") << "}\n";
  }

 private:
  std::ostream& out_;
  std::vector<Column> columns_;
  size_t rows_ = 0;
};

}  // namespace

std::unique_ptr<Printer> MakeJsonPrinter(std::ostream& out) {
  return std::make_unique<JsonPrinter>(out);
}

}  // namespace qx::dump
