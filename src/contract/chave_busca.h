// A search's key, as the searches hand keys out and the keyed reads take them
// back: the entry's position in its month in the low 24 bits, and in the high
// 8 bits the month's offset from the search's base month (negative before it).
#pragma once

#include <cstdint>

#include "values/qx_mes_ano.h"

namespace qx {

// The key of position `posicao` of month `mes`, in a search based at `base`.
inline int32_t ChaveBusca(CQXMesAno mes, CQXMesAno base, uint32_t posicao) {
  const auto deslocamento = static_cast<uint32_t>(mes.Value() - base.Value());
  return static_cast<int32_t>((deslocamento << 24) + posicao);
}

// The month value of a key of a search based at `base` (below 1 for a key
// that names no month).
inline int MesDaChave(CQXMesAno base, int32_t chave) {
  return int{base.Value()} + static_cast<int8_t>(static_cast<uint32_t>(chave) >> 24);
}

// The position of a key in its month.
inline int32_t PosicaoDaChave(int32_t chave) { return chave & 0xFFFFFF; }

}  // namespace qx
