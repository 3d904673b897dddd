#include "values/crc64.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(Crc64, KnownVectorsAndContinuation) {
  EXPECT_EQ(qx::Crc64("123456789"), 0x2B9C7EE4E2780C8Aull);
  EXPECT_EQ(qx::Crc64("abc"), 0xC621568C6AFEAD61ull);
  EXPECT_EQ(qx::Crc64(""), 0u);
  EXPECT_EQ(qx::Crc64("6789", qx::Crc64("12345")), 0x2B9C7EE4E2780C8Aull);
  const uint8_t bytes[] = {'a', 'b', 'c'};
  EXPECT_EQ(qx::Crc64Bytes(bytes, sizeof bytes), 0xC621568C6AFEAD61ull);
  // Bytes above 0x7F are taken as unsigned.
  const std::string high = "\xFF\x80";
  const uint8_t highBytes[] = {0xFF, 0x80};
  EXPECT_EQ(qx::Crc64(high), qx::Crc64Bytes(highBytes, 2));
  EXPECT_EQ(qx::kCrc64Table[1], 0xB32E4CBE03A75F6Full);
  EXPECT_EQ(qx::kCrc64Table[128], 0xC96C5795D7870F42ull);
}

}  // namespace
