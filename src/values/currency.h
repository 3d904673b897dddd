#pragma once
// The automation currency type: a signed 64-bit amount in ten-thousandths, stored as its 8
// little-endian bytes in records and interface calls.

#include <compare>
#include <cstddef>
#include <cstdint>

struct CURRENCY {
  int64_t int64;

  constexpr auto operator<=>(const CURRENCY&) const = default;
};
static_assert(sizeof(CURRENCY) == 8);
static_assert(offsetof(CURRENCY, int64) == 0);
