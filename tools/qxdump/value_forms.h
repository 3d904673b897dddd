// Dumped values made from record fields.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "printer.h"
#include "values/qx_mes_ano.h"

namespace qx::dump {

// The record of type T held in bytes (which has at least sizeof(T) of them).
template <typename T>
T As(const std::vector<unsigned char>& bytes) {
  T record;
  std::memcpy(&record, bytes.data(), sizeof record);
  return record;
}

inline Value Number(int64_t number) { return number; }

// A day-number date; nothing for the empty or an invalid date.
Value DateValue(uint32_t dayNumber);
// A day of a month-year, the day cut to the month's length.
Value DateValue(CQXMesAno mesAno, int day);
// A month-year; nothing for the empty or an invalid one.
Value MonthValue(uint32_t mesAno);
// A Windows-1252 field up to its first zero byte, as UTF-8.
Value TextField(const char* field, size_t size);
// Windows-1252 bytes as UTF-8.
Value TextValue(std::string_view text);

bool AllZero(const std::vector<unsigned char>& bytes);

}  // namespace qx::dump
