#pragma once
// Composite origin key as interface records carry it: origin module in the low 8 bits and
// origin key in the high 24 bits of lChaveModulo, the origin period as a month-year.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct _QX_DMCPS {
  int32_t lChaveModulo;
  uint16_t iData;
  uint8_t cFiller[2];
};
#pragma pack(pop)
static_assert(sizeof(_QX_DMCPS) == 8);
static_assert(offsetof(_QX_DMCPS, lChaveModulo) == 0);
static_assert(offsetof(_QX_DMCPS, iData) == 4);
static_assert(offsetof(_QX_DMCPS, cFiller) == 6);

namespace qx {

constexpr uint32_t OriginModule(int32_t lChaveModulo) {
  return static_cast<uint32_t>(lChaveModulo) & 0xFFu;
}
constexpr uint32_t OriginKey(int32_t lChaveModulo) {
  return static_cast<uint32_t>(lChaveModulo) >> 8;
}
// key * 256 + module; the key is cut to 24 bits and the module to 8.
constexpr int32_t MakeChaveModulo(uint32_t key, uint32_t module) {
  return static_cast<int32_t>((key << 8) | (module & 0xFFu));
}

}  // namespace qx
