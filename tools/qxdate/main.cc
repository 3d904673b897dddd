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
    if (date.IsEmpty()) throw ErroUso{text + " não é um CQXData (2..1048247)"};
    qxdate::PrintDate(date);
    return;
  }
  qxdate::PrintDate(args.LeData(text, "VALOR"));
}

uint32_t ReadValue(const std::string& text, uint32_t limit, bool zero, const char* what) {
  const std::optional<uint32_t> value = qx::ReadNumber(text, limit);
  if (!value || (*value == 0 && !zero)) throw ErroUso{"'" + text + "' não é " + what};
  return *value;
}

void Convert(const Argumentos& args, qx::cli::Saida&) {
  const int given = (args.Valor("mesano") ? 1 : 0) + (args.Valor("curta") ? 1 : 0) +
                    (args.Valor("chave") ? 1 : 0) + (args.Posicionais().empty() ? 0 : 1);
  if (given != 1) throw ErroUso{"diga um só valor para converter"};
  if (const auto text = args.Valor("mesano")) {
    qxdate::PrintMesAno(CQXMesAno(ReadValue(*text, CQXMesAno::kLast, false, "um CQXMesAno")));
  } else if (const auto text = args.Valor("curta")) {
    qxdate::PrintDataCurta(CQXDataCurta(
        static_cast<uint16_t>(ReadValue(*text, UINT16_MAX, false, "um CQXDataCurta"))));
  } else if (const auto text = args.Valor("chave")) {
    qxdate::PrintChaveModulo(ReadValue(*text, UINT32_MAX, true, "uma chave de origem"));
  } else {
    ShowDayNumberOrDate(args, args.Posicionais()[0]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const qx::cli::Programa qxdate = {
      .nome = "qxdate",
      .resumo = "converte entre as codificações de data do sistema e as datas do calendário",
      .notas =
          "VALOR é um número de dia CQXData (2..1048247, como 64285) ou uma data do\n"
          "calendário: 15/03/2024, 15/03/24 ou 2024-03-15.\n",
      .comandos = {{"",
                    "[VALOR]",
                    "mostra uma data em todas as codificações",
                    {{"mesano", "VALOR", "um mês-ano CQXMesAno (1..34440), como 2117"},
                     {"curta", "VALOR", "uma data curta CQXDataCurta (1..65535), como 18322"},
                     {"chave", "VALOR",
                      "uma chave de origem lChaveModulo, decimal ou hexadecimal 0x"}},
                    Convert}},
  };
  return qx::cli::Executa(qxdate, argc, argv);
}
