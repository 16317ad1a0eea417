#include "pdb/big_endian.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(BigEndianTest, EncodesMostSignificantByteFirst) {
  std::uint8_t bytes[4] = {};
  EncodeBig16(bytes, 0x1234);
  EXPECT_EQ(bytes[0], 0x12);
  EXPECT_EQ(bytes[1], 0x34);

  EncodeBig24(bytes, 0xABCDEF);
  EXPECT_EQ(bytes[0], 0xAB);
  EXPECT_EQ(bytes[1], 0xCD);
  EXPECT_EQ(bytes[2], 0xEF);

  EncodeBig32(bytes, 0x89ABCDEF);
  EXPECT_EQ(bytes[0], 0x89);
  EXPECT_EQ(bytes[1], 0xAB);
  EXPECT_EQ(bytes[2], 0xCD);
  EXPECT_EQ(bytes[3], 0xEF);
}

TEST(BigEndianTest, DecodesWithoutSignExtension) {
  const std::uint8_t bytes[4] = {0xFF, 0x80, 0x01, 0xFE};
  EXPECT_EQ(DecodeBig16(bytes), 0xFF80);
  EXPECT_EQ(DecodeBig24(bytes), 0xFF8001u);
  EXPECT_EQ(DecodeBig32(bytes), 0xFF8001FEu);
}

TEST(BigEndianTest, RoundTripsEdgeValues) {
  for (std::uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    std::uint8_t bytes[4];
    EncodeBig32(bytes, value);
    EXPECT_EQ(DecodeBig32(bytes), value);
  }
}

}  // namespace
}  // namespace kv
