#include "value_forms.h"

#include <algorithm>
#include <string>

#include "platform/codepage.h"
#include "values/qx_data.h"

namespace qx::dump {

Value DateValue(uint32_t dayNumber) {
  const CQXData date(dayNumber);
  if (date.IsEmpty()) return {};
  return Date{date.Value()};
}

Value DateValue(CQXMesAno mesAno, int day) {
  return DateValue(CQXData::FromMesAno(mesAno, day).Value());
}

Value MonthValue(uint32_t mesAno) {
  const CQXMesAno month(mesAno);
  if (month.IsEmpty()) return {};
  return Month{month.Value()};
}

Value TextField(const char* field, size_t size) {
  return TextValue(std::string_view(field, std::find(field, field + size, '\0') - field));
}

Value TextValue(std::string_view text) { return Cp1252ToUtf8(text); }

bool AllZero(const std::vector<unsigned char>& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; });
}

}  // namespace qx::dump
