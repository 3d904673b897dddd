#pragma once
// Amounts, dates and month-years in the forms the suite's users read
// ("1.234,56", "15/03/2024", "03/2024"), and the plain forms scripts read.

#include <optional>
#include <string>
#include <string_view>

#include "values/currency.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {

// '.' between thousands, ',' before the decimals: two decimals, or all four
// when the amount has more ("1.234,56", "-0,50", "0,3333", "0,0010").
std::string AmountText(CURRENCY value);
// The same amount for machines: no grouping, '.' before the decimals ("1234.56").
std::string AmountPlainText(CURRENCY value);
// "dd/mm/yyyy"; "" for the empty date.
std::string DateText(CQXData date);
// "mm/yyyy"; "" for month-year 0.
std::string MesAnoText(CQXMesAno mesAno);
// The same forms appended to *text, for reports that print them by the
// hundred thousand.
void AppendAmountText(CURRENCY value, std::string* text);
void AppendDateText(CQXData date, std::string* text);
void AppendMesAnoText(CQXMesAno mesAno, std::string* text);
// "mm/yyyy", "mm/yy" or "yyyy-mm" naming a valid month-year; nothing otherwise.
std::optional<CQXMesAno> ReadMesAno(std::string_view text);

}  // namespace qx
