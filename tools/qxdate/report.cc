#include "report.h"

#include <cstdio>
#include <string>

#include "platform/codepage.h"
#include "values/calendar_names.h"
#include "values/origin_names.h"
#include "values/qx_dmcps.h"

namespace qxdate {
namespace {

// One line: the label (UTF-8) padded to a column, then the value, given in code page 1252.
void Line(std::string label, const std::string& value) {
  constexpr size_t kColumn = 14;
  size_t shown = 0;
  for (char c : label) shown += (c & 0xC0) != 0x80 ? 1 : 0;
  label.append(shown < kColumn ? kColumn - shown : 0, ' ');
  std::printf("%s%s\n", label.c_str(), qx::Cp1252ToUtf8(value).c_str());
}

std::string Number(uint32_t value) { return std::to_string(value); }

std::string IsoDate(CQXData date) { return date.Text(5, '-'); }

std::string MesAnoText(CQXMesAno mesAno) {
  return Number(mesAno.Value()) + "  " + mesAno.Text(8, '/');
}

std::string DataCurtaText(CQXData date) {
  const CQXDataCurta curta(date);
  return curta.IsEmpty() ? "nenhuma (fora de 01/01/1850 .. 04/06/2029)" : Number(curta.Value());
}

}  // namespace

void PrintDate(CQXData date) {
  Line("CQXData", Number(date.Value()));
  Line("data", IsoDate(date) + "  " + date.Text(1, '/'));
  Line("dia da semana",
       Number(static_cast<uint32_t>(date.DayOfWeek())) + "  " + qx::WeekdayName(date.DayOfWeek()));
  Line("CQXMesAno", MesAnoText(date.MesAno()));
  Line("CQXDataCurta", DataCurtaText(date));
}

void PrintMesAno(CQXMesAno mesAno) {
  const CQXData first = CQXData::FromMesAno(mesAno, 1);
  const CQXData last = first.LastDayOfMonth();
  Line("CQXMesAno", MesAnoText(mesAno));
  Line("mês", std::string(qx::MonthName(mesAno.Month())) + " de " + Number(mesAno.Year()));
  Line("aaaamm", Number(static_cast<uint32_t>(mesAno.Yyyymm())));
  Line("primeiro dia", Number(first.Value()) + "  " + IsoDate(first));
  Line("último dia", Number(last.Value()) + "  " + IsoDate(last));
}

void PrintDataCurta(CQXDataCurta curta) {
  constexpr uint16_t kMissingDay = 18322;
  Line("CQXDataCurta", Number(curta.Value()) + (curta.Value() == kMissingDay
                                                    ? "  (29/02/1900, um dia que n\xE3o existiu; "
                                                      "lido como 28/02/1900)"
                                                    : ""));
  PrintDate(curta.Data());
}

void PrintChaveModulo(uint32_t lChaveModulo) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", lChaveModulo);
  const int32_t field = static_cast<int32_t>(lChaveModulo);
  const uint32_t module = qx::OriginModule(field);
  const char* name = qx::OriginModuleName(module);
  Line("lChaveModulo", Number(lChaveModulo) + "  " + hex);
  Line("módulo", Number(module) + "  " +
                     (name != nullptr ? name
                                      : "(m\xF3"
                                        "dulo desconhecido)"));
  Line("chave", Number(qx::OriginKey(field)));
}

}  // namespace qxdate
