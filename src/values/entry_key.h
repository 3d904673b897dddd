#pragma once
// Entry key lChaveComposta: (entry index << 12) | month-year, naming one entry of one month to
// document management. The month-year is not masked when the key is made, so month-years of
// 4096 and above run into the index bits, as the stored keys have always had them.

#include <cstdint>

#include "values/qx_mes_ano.h"

namespace qx {

struct EntryKeyParts {
  uint32_t indlan = 0;
  uint16_t mesAno = 0;  // the low 12 bits of the key
};

constexpr int32_t MakeChaveComposta(int32_t indlan, CQXMesAno mesAno) {
  return static_cast<int32_t>((static_cast<uint32_t>(indlan) << 12) | mesAno.Value());
}

constexpr EntryKeyParts SplitChaveComposta(int32_t lChaveComposta) {
  const uint32_t key = static_cast<uint32_t>(lChaveComposta);
  return {key >> 12, static_cast<uint16_t>(key & 0xFFFu)};
}

}  // namespace qx
