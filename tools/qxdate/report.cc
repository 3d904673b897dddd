#include "report.h"

#include <cstdio>
#include <string>

#include "platform/codepage.h"
#include "values/calendar_names.h"
#include "values/origin_names.h"
#include "values/qx_dmcps.h"

namespace qxdate {
namespace {

// One line: the label padded to a column, then the value, given in code page 1252.
void Line(const char* label, const std::string& value) {
  std::printf("%-14s%s\n", label, qx::Cp1252ToUtf8(value).c_str());
}

std::string Number(uint32_t value) { return std::to_string(value); }

std::string IsoDate(CQXData date) { return date.Text(5, '-'); }

std::string MesAnoText(CQXMesAno mesAno) {
  return Number(mesAno.Value()) + "  " + mesAno.Text(8, '/');
}

std::string DataCurtaText(CQXData date) {
  const CQXDataCurta curta(date);
  return curta.IsEmpty() ? "none (outside 1850-01-01 .. 2029-06-04)" : Number(curta.Value());
}

}  // namespace

void PrintDate(CQXData date) {
  Line("CQXData", Number(date.Value()));
  Line("date", IsoDate(date) + "  " + date.Text(1, '/'));
  Line("weekday",
       Number(static_cast<uint32_t>(date.DayOfWeek())) + "  " + qx::WeekdayName(date.DayOfWeek()));
  Line("CQXMesAno", MesAnoText(date.MesAno()));
  Line("CQXDataCurta", DataCurtaText(date));
}

void PrintMesAno(CQXMesAno mesAno) {
  const CQXData first = CQXData::FromMesAno(mesAno, 1);
  const CQXData last = first.LastDayOfMonth();
  Line("CQXMesAno", MesAnoText(mesAno));
  Line("month", std::string(qx::MonthName(mesAno.Month())) + " de " + Number(mesAno.Year()));
  Line("yyyymm", Number(static_cast<uint32_t>(mesAno.Yyyymm())));
  Line("first day", Number(first.Value()) + "  " + IsoDate(first));
  Line("last day", Number(last.Value()) + "  " + IsoDate(last));
}

void PrintDataCurta(CQXDataCurta curta) {
  constexpr uint16_t kMissingDay = 18322;
  Line("CQXDataCurta", Number(curta.Value()) + (curta.Value() == kMissingDay
                                                    ? "  (1900-02-29, a day that never was; "
                                                      "read as 1900-02-28)"
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
  Line("module", Number(module) + "  " + (name != nullptr ? name : "(unknown module)"));
  Line("key", Number(qx::OriginKey(field)));
}

}  // namespace qxdate
