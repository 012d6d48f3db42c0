// UTF-16 text read from tag bytes: byte order and its mark.
#include "container/tag_text.h"

#include <gtest/gtest.h>

namespace {

TEST(TagText, ByteOrderMarkDecidesTheOrderAndIsNoPartOfTheText) {
  const uint8_t big[] = {0xFE, 0xFF, 0x00, 'A', 0x6C, 0x34, 0x7A};  // odd last byte dropped
  const uint8_t* data = big;
  size_t size = sizeof big;
  bool bigEndian = false;
  container::SkipByteOrderMark(data, size, bigEndian);
  EXPECT_TRUE(bigEndian);
  EXPECT_EQ(container::Utf16FromBytes(data, size, bigEndian), u"A\u6C34");

  const uint8_t unmarked[] = {'B', 0x00};
  data = unmarked;
  size = sizeof unmarked;
  bigEndian = true;
  container::SkipByteOrderMark(data, size, bigEndian);
  EXPECT_TRUE(bigEndian);  // no mark: the caller's default stands
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(container::Utf16FromBytes(data, size, false), u"B");
}

TEST(TagText, MarkOnlyLeavesEmptyTextAndAShortRunIsLeftAlone) {
  const uint8_t mark[] = {0xFF, 0xFE};
  const uint8_t* data = mark;
  size_t size = sizeof mark;
  bool bigEndian = true;
  container::SkipByteOrderMark(data, size, bigEndian);
  EXPECT_FALSE(bigEndian);
  EXPECT_EQ(size, 0u);
  size = 1;
  data = mark;
  container::SkipByteOrderMark(data, size, bigEndian);
  EXPECT_EQ(data, mark);
}

}  // namespace
