#pragma once
// The reports that qxdate prints: plain aligned lines, UTF-8.

#include <cstdint>

#include "values/qx_data.h"
#include "values/qx_data_curta.h"
#include "values/qx_mes_ano.h"

namespace qxdate {

// The date's calendar day, weekday, month-year and short date.
void PrintDate(CQXData date);
void PrintMesAno(CQXMesAno mesAno);
void PrintDataCurta(CQXDataCurta curta);
void PrintChaveModulo(uint32_t lChaveModulo);

}  // namespace qxdate
