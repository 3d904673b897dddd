// The texts of dumped values, in the forms of every tool (common/celula.h).
#include "common/celula.h"
#include "printer.h"
#include "text_format.h"

namespace qx::dump {
namespace {

// Amounts, dates and months as the tools' cells; the rest as they are.
std::optional<cli::Celula> AsCell(const Value& value) {
  if (const auto* money = std::get_if<Money>(&value)) return cli::Celula(CURRENCY{money->value});
  if (const auto* date = std::get_if<Date>(&value)) return cli::Celula(CQXData(date->day));
  if (const auto* month = std::get_if<Month>(&value)) {
    return cli::Celula(CQXMesAno(month->value));
  }
  return std::nullopt;
}

}  // namespace

std::string PeopleText(const Value& value) {
  if (const auto cell = AsCell(value)) return cell->ParaPessoas();
  if (std::holds_alternative<std::monostate>(value)) return "-";
  if (const auto* text = std::get_if<std::string>(&value)) return TableText(*text);
  if (const auto* list = std::get_if<std::vector<int64_t>>(&value)) {
    return list->empty() ? "-" : JoinNumbers(*list);
  }
  return std::to_string(std::get<int64_t>(value));
}

cli::Celula CellOf(const Value& value) {
  if (const auto cell = AsCell(value)) return *cell;
  if (const auto* number = std::get_if<int64_t>(&value)) return cli::Celula(*number);
  return cli::Celula(PlainText(value));
}

std::string PlainText(const Value& value) {
  if (const auto cell = AsCell(value)) return cell->ParaCsv();
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* list = std::get_if<std::vector<int64_t>>(&value)) return JoinNumbers(*list);
  if (const auto* number = std::get_if<int64_t>(&value)) return std::to_string(*number);
  return "";
}

}  // namespace qx::dump
