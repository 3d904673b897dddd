// One JSON object per file: the header fields, "records" (one object per
// row, keyed by column name), "count", "notes" and "damaged". Records are
// written as they come, so a large file never sits in memory.
#include <nlohmann/json.hpp>
#include <ostream>

#include "printer.h"

namespace qx::dump {
namespace {

using Json = nlohmann::ordered_json;

Json JsonValue(const Value& value) {
  if (std::holds_alternative<std::monostate>(value)) return nullptr;
  if (const auto* number = std::get_if<int64_t>(&value)) return *number;
  if (const auto* list = std::get_if<std::vector<int64_t>>(&value)) return *list;
  return PlainText(value);
}

std::string Text(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

class JsonPrinter : public Printer {
 public:
  explicit JsonPrinter(std::ostream& out) : out_(out) {}

  void Begin(const DumpHeader& header, const std::vector<Column>& columns) override {
    columns_ = columns;
    Json head = {{"file", header.file},
                 {"kind", header.kind},
                 {"title", header.title},
                 {"record_size", header.recordSize},
                 {"length", header.length},
                 {"month", header.month ? JsonValue(*header.month) : Json(nullptr)}};
    const std::string text = Text(head);
    out_ << text.substr(0, text.size() - 1) << ",\"records\":[";
  }

  void Row(const std::vector<Value>& values) override {
    Json row = Json::object();
    for (size_t i = 0; i < columns_.size() && i < values.size(); ++i) {
      row[columns_[i].name] = JsonValue(values[i]);
    }
    out_ << (rows_++ == 0 ? "\n" : ",\n") << Text(row);
  }

  void End(uint64_t count, const std::vector<Note>& notes) override {
    Json texts = Json::array();
    bool damaged = false;
    for (const Note& note : notes) {
      texts.push_back(note.text);
      damaged = damaged || note.damage;
    }
    out_ << "],\n\"count\":" << count << ",\"notes\":" << Text(texts)
         << ",\"damaged\":" << (damaged ? "true" : "false") << "}\n";
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
