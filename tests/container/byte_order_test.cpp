// The big-endian and synchsafe fields the tag and frame formats share.
#include "common/byte_order.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteOrder, BigEndianReadsAndWritesMostSignificantByteFirst) {
  uint8_t b[4] = {};
  byte_order::WriteBig32(0xF1E2D3C4u, b);
  EXPECT_EQ(b[0], 0xF1);
  EXPECT_EQ(b[3], 0xC4);
  EXPECT_EQ(byte_order::ReadBig32(b), 0xF1E2D3C4u);
  EXPECT_EQ(byte_order::ReadBig24(b), 0xF1E2D3u);
}

TEST(ByteOrder, SynchsafeKeepsSevenBitsPerByte) {
  uint8_t b[4] = {};
  byte_order::EncodeSynchsafe(0x0FFFFFFFu, b);
  for (uint8_t byte : b) EXPECT_EQ(byte, 0x7F);
  uint32_t value = 0;
  ASSERT_TRUE(byte_order::DecodeSynchsafe(b, value));
  EXPECT_EQ(value, 0x0FFFFFFFu);
  byte_order::EncodeSynchsafe(257, b);  // 2 * 128 + 1
  EXPECT_EQ(b[2], 0x02);
  EXPECT_EQ(b[3], 0x01);
}

TEST(ByteOrder, ATopBitFailsTheStrictReadAndIsIgnoredByTheLenientOne) {
  const uint8_t b[4] = {0x00, 0x00, 0x81, 0x01};
  uint32_t value = 7;
  EXPECT_FALSE(byte_order::DecodeSynchsafe(b, value));
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(byte_order::ReadSynchsafe(b), 129u);
}

}  // namespace
