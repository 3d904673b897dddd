#include "values/qx_mes_ano.h"

#include "values/period_text.h"
#include "values/today.h"

CQXMesAno CQXMesAno::Current() {
  const qx::CivilDate today = qx::CurrentDay();
  return Make(today.month, today.year);
}

std::size_t CQXMesAno::Format(std::span<char> out, int layout, char separator,
                              bool wideYear) const {
  return qx::FormatPeriod(out, qx::PeriodKind::monthYear, layout, separator, wideYear, Split());
}

std::string CQXMesAno::Text(int layout, char separator, bool wideYear) const {
  return qx::PeriodText(qx::PeriodKind::monthYear, layout, separator, wideYear, Split());
}
