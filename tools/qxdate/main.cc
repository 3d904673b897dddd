// qxdate: converts between the system's date encodings and calendar dates, for support staff.

#include <optional>
#include <string>

#include "common/argumentos.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "report.h"
#include "values/typed_input.h"

namespace {

using qx::cli::Argumentos;
using qx::cli::ErroUso;

// A day number, or a date in the forms every tool reads.
void ShowDayNumberOrDate(const Argumentos& args, const std::string& text) {
  if (const std::optional<uint32_t> value = qx::ReadNumber(text, UINT32_MAX)) {
    const CQXData date(*value);
    if (date.IsEmpty()) throw ErroUso{text + " is not a CQXData (2..1048247)"};
    qxdate::PrintDate(date);
    return;
  }
  qxdate::PrintDate(args.LeData(text, "VALUE"));
}

uint32_t ReadValue(const std::string& text, uint32_t limit, bool zero, const char* what) {
  const std::optional<uint32_t> value = qx::ReadNumber(text, limit);
  if (!value || (*value == 0 && !zero)) throw ErroUso{"'" + text + "' is not " + what};
  return *value;
}

void Convert(const Argumentos& args, qx::cli::Saida&) {
  const int given = (args.Valor("mesano") ? 1 : 0) + (args.Valor("curta") ? 1 : 0) +
                    (args.Valor("chave") ? 1 : 0) + (args.Posicionais().empty() ? 0 : 1);
  if (given != 1) throw ErroUso{"give one value to convert"};
  if (const auto text = args.Valor("mesano")) {
    qxdate::PrintMesAno(CQXMesAno(ReadValue(*text, CQXMesAno::kLast, false, "a CQXMesAno")));
  } else if (const auto text = args.Valor("curta")) {
    qxdate::PrintDataCurta(
        CQXDataCurta(static_cast<uint16_t>(ReadValue(*text, UINT16_MAX, false, "a CQXDataCurta"))));
  } else if (const auto text = args.Valor("chave")) {
    qxdate::PrintChaveModulo(ReadValue(*text, UINT32_MAX, true, "an origin key"));
  } else {
    ShowDayNumberOrDate(args, args.Posicionais()[0]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const qx::cli::Programa qxdate = {
      .nome = "qxdate",
      .resumo = "converts between the system's date encodings and calendar dates",
      .notas =
          "VALUE is a CQXData day number (2..1048247, e.g. 64285) or a calendar date:\n"
          "2024-03-15, 15/03/2024 or 15/03/24.\n",
      .comandos = {{"",
                    "[VALUE]",
                    "shows a date in every encoding",
                    {{"mesano", "VALUE", "a CQXMesAno month-year (1..34440), e.g. 2117"},
                     {"curta", "VALUE", "a CQXDataCurta short date (1..65535), e.g. 18322"},
                     {"chave", "VALUE", "an origin key lChaveModulo, decimal or 0x hexadecimal"}},
                    Convert}},
  };
  return qx::cli::Executa(qxdate, argc, argv);
}
