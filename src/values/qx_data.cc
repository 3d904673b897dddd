#include "values/qx_data.h"

#include "values/period_text.h"
#include "values/qx_mes_ano.h"
#include "values/today.h"

CQXData CQXData::FromMesAno(CQXMesAno mesAno, int day) {
  const qx::CivilDate month = mesAno.Split();
  return Make(day, month.month, month.year);
}

CQXData CQXData::Today() {
  const qx::CivilDate today = qx::CurrentDay();
  return Make(today.day, today.month, today.year);
}

CQXData CQXData::FirstDayOfMonth() const {
  if (IsEmpty()) return {};
  return CQXData(value_ - static_cast<uint32_t>(Day()) + 1);
}

CQXData CQXData::LastDayOfMonth() const {
  if (IsEmpty()) return {};
  const qx::CivilDate date = Split();
  return CQXData(value_ - static_cast<uint32_t>(date.day) +
                 static_cast<uint32_t>(qx::DaysInMonth(date.month, date.year)));
}

CQXMesAno CQXData::MesAno() const {
  const qx::CivilDate date = Split();
  return CQXMesAno::Make(date.month, date.year);
}

std::size_t CQXData::Format(std::span<char> out, int layout, char separator, bool wideYear) const {
  return qx::FormatPeriod(out, qx::PeriodKind::date, layout, separator, wideYear, Split());
}

std::string CQXData::Text(int layout, char separator, bool wideYear) const {
  return qx::PeriodText(qx::PeriodKind::date, layout, separator, wideYear, Split());
}
