#pragma once
// CRC-64 over the reflected ECMA-182 polynomial (reflected form 0xC96C5795D7870F42): the
// register starts at 0 (or at a previous result, to continue), each byte is folded in as
// (register >> 8) ^ table[(register ^ byte) & 0xFF], and there is no final inversion.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qx {

inline constexpr std::array<uint64_t, 256> kCrc64Table = [] {
  constexpr uint64_t kPolynomial = 0xC96C5795D7870F42ull;
  std::array<uint64_t, 256> table{};
  for (uint64_t n = 0; n < table.size(); ++n) {
    uint64_t value = n;
    for (int bit = 0; bit < 8; ++bit) value = (value >> 1) ^ ((value & 1) != 0 ? kPolynomial : 0);
    table[n] = value;
  }
  return table;
}();

constexpr uint64_t Crc64(std::string_view bytes, uint64_t crc = 0) {
  for (const char c : bytes) crc = (crc >> 8) ^ kCrc64Table[(crc ^ static_cast<uint8_t>(c)) & 0xFF];
  return crc;
}

// The CRC of size bytes at data (a record, for example).
inline uint64_t Crc64Bytes(const void* data, std::size_t size, uint64_t crc = 0) {
  return Crc64(std::string_view(static_cast<const char*>(data), size), crc);
}

static_assert(Crc64("123456789") == 0x2B9C7EE4E2780C8Aull);
static_assert(Crc64("abc") == 0xC621568C6AFEAD61ull);

}  // namespace qx
