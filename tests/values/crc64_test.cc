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
  // Bytes above 0x7F are taken as unsigned.
  const uint8_t highBytes[] = {0xFF, 0x80};
  EXPECT_EQ(qx::Crc64(std::string("\xFF\x80")), qx::Crc64Bytes(highBytes, 2));
}

}  // namespace
