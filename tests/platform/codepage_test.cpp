#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}

struct Sample {
  uint32_t codePage;
  std::u16string text;
  std::string bytes;
};

class TagCodePages : public ::testing::TestWithParam<Sample> {};

TEST_P(TagCodePages, ConvertBothWays) {
  const Sample& s = GetParam();
  std::string narrow;
  ASSERT_TRUE(sys::FromUtf16(s.codePage, s.text, narrow));
  EXPECT_EQ(narrow, s.bytes);
  std::u16string wide;
  ASSERT_TRUE(sys::ToUtf16(s.codePage, s.bytes, wide));
  EXPECT_EQ(wide, s.text);
}

INSTANTIATE_TEST_SUITE_P(All, TagCodePages,
                         ::testing::Values(Sample{1252, u"Caf\u00e9 \u20ac",
                                                  Bytes({'C', 'a', 'f', 0xE9, ' ', 0x80})},
                                           Sample{932, u"\u6771\u4eac", Bytes({0x93, 0x8C, 0x8B, 0x9E})},
                                           Sample{936, u"\u4e2d\u6587", Bytes({0xD6, 0xD0, 0xCE, 0xC4})},
                                           Sample{949, u"\ud55c\uad6d", Bytes({0xC7, 0xD1, 0xB1, 0xB9})},
                                           Sample{950, u"\u4e2d\u6587", Bytes({0xA4, 0xA4, 0xA4, 0xE5})}));

TEST(CodePage, UnmappedCharactersBecomeTheReplacementWithoutBestFit) {
  std::string narrow;
  // U+0100 would best-fit to 'A' in code page 1252; it must not.
  ASSERT_TRUE(sys::FromUtf16(1252, u"x\u0100y\u6771z", narrow));
  EXPECT_EQ(narrow, "x y z");
  ASSERT_TRUE(sys::FromUtf16(1252, u"\u0100", narrow, sys::kNoLimit, '?'));
  EXPECT_EQ(narrow, "?");
}

TEST(CodePage, NarrowOutputIsCutAtACharacterBoundary) {
  std::string narrow;
  ASSERT_TRUE(sys::FromUtf16(932, u"\u6771\u4eac", narrow, 3));
  EXPECT_EQ(narrow, Bytes({0x93, 0x8C}));
  ASSERT_TRUE(sys::FromUtf16(932, u"a\u6771", narrow, 2));
  EXPECT_EQ(narrow, "a");
  ASSERT_TRUE(sys::FromUtf16(sys::kUtf8CodePage, u"a\u00e9", narrow, 2));
  EXPECT_EQ(narrow, "a");
}

TEST(CodePage, WideOutputNeverEndsInHalfASurrogatePair) {
  std::u16string wide;
  ASSERT_TRUE(sys::ToUtf16(sys::kUtf8CodePage,
                           "a\xF0\x9F\x98\x80"
                           "b",
                           wide, 2));
  EXPECT_EQ(wide, u"a");
  ASSERT_TRUE(sys::ToUtf16(sys::kUtf8CodePage,
                           "a\xF0\x9F\x98\x80"
                           "b",
                           wide, 3));
  EXPECT_EQ(wide, u"a\U0001F600");
  ASSERT_TRUE(sys::ToUtf16(1252, std::string(100, 'x'), wide, 64));
  EXPECT_EQ(wide.size(), 64u);
}

TEST(CodePage, CappingWideTextDropsAHalfPairAndLeavesShortTextAlone) {
  std::u16string text = u"ab\U0001F600";
  sys::CapUtf16(text, 3);
  EXPECT_EQ(text, u"ab");
  text = u"ab\U0001F600";
  sys::CapUtf16(text, 4);
  EXPECT_EQ(text, u"ab\U0001F600");
}

TEST(CodePage, InvalidBytesDoNotSwallowTheRestOfTheText) {
  std::u16string wide;
  // 0x93 starts a two-byte character in 932; a lone one at the end is invalid.
  ASSERT_TRUE(sys::ToUtf16(932, Bytes({'A', 0x93, 0x8C, 'B', 0x93}), wide));
  ASSERT_GE(wide.size(), 3u);
  EXPECT_EQ(wide.substr(0, 3), u"A\u6771B");
}

TEST(CodePage, AnsiCodePageIsUsedForTheAnsiSelector) {
  std::u16string viaAnsi, viaNumber;
  ASSERT_TRUE(sys::ToUtf16(sys::kAnsiCodePage, "abc\xE9", viaAnsi));
  ASSERT_TRUE(sys::ToUtf16(sys::AnsiCodePage(), "abc\xE9", viaNumber));
  EXPECT_EQ(viaAnsi, viaNumber);
  sys::SetAnsiCodePage(932);
  ASSERT_TRUE(sys::ToUtf16(sys::kAnsiCodePage, Bytes({0x93, 0x8C}), viaAnsi));
  EXPECT_EQ(viaAnsi, u"\u6771");
  sys::SetAnsiCodePage(0);
}

TEST(CodePage, TheSystemsOwnAnsiPageRoundTrips) {
  // Whatever page the system runs with (UTF-8 included), plain text comes
  // back unchanged. A run on a system set up for a page names it.
  sys::SetAnsiCodePage(0);
  if (const char* expected = std::getenv("PELLMARK_EXPECT_ANSI_CODE_PAGE"))
    EXPECT_EQ(sys::AnsiCodePage(), static_cast<uint32_t>(std::atoi(expected)));
  const std::u16string text = u"Track 1 (live)";
  std::string narrow;
  ASSERT_TRUE(sys::FromUtf16(sys::kAnsiCodePage, text, narrow, sys::kNoLimit, '?'));
  std::u16string wide;
  ASSERT_TRUE(sys::ToUtf16(sys::kAnsiCodePage, narrow, wide));
  EXPECT_EQ(wide, text) << "ANSI code page " << sys::AnsiCodePage();
}

// A Windows set to "Use Unicode UTF-8 for worldwide language support" has
// 65001 as its ANSI code page; the system refuses the flags and default
// character the other pages take, so ANSI text must go the UTF-8 way.
class AnsiCodePageUtf8 : public ::testing::Test {
 protected:
  void SetUp() override { sys::SetAnsiCodePage(sys::kUtf8CodePage); }
  void TearDown() override { sys::SetAnsiCodePage(0); }
};

TEST_F(AnsiCodePageUtf8, AnsiTextConvertsBothWaysAsUtf8) {
  ASSERT_EQ(sys::AnsiCodePage(), sys::kUtf8CodePage);
  const std::string utf8 = "Caf\xC3\xA9 \xE6\x9D\xB1\xF0\x9F\x98\x80";
  const std::u16string text = u"Caf\u00e9 \u6771\U0001F600";
  std::u16string wide;
  ASSERT_TRUE(sys::ToUtf16(sys::kAnsiCodePage, utf8, wide));
  EXPECT_EQ(wide, text);
  std::string narrow;
  ASSERT_TRUE(sys::FromUtf16(sys::kAnsiCodePage, text, narrow, sys::kNoLimit, '?'));
  EXPECT_EQ(narrow, utf8);
  // Limits still hold whole characters only.
  ASSERT_TRUE(sys::FromUtf16(sys::kAnsiCodePage, u"a\u6771", narrow, 3));
  EXPECT_EQ(narrow, "a");
  ASSERT_TRUE(sys::ToUtf16(sys::kAnsiCodePage, "a\xF0\x9F\x98\x80", wide, 2));
  EXPECT_EQ(wide, u"a");
}

TEST(CodePage, UnknownCodePagesAreRefused) {
  std::u16string wide;
  std::string narrow;
  EXPECT_FALSE(sys::ToUtf16(12345, "x", wide));
  EXPECT_FALSE(sys::FromUtf16(12345, u"x", narrow));
}

TEST(Utf8, RoundTripsAndReplacesMalformedInput) {
  std::u16string text = u"A\u00e9\u6771\U0001F600";
  EXPECT_EQ(sys::Utf16FromUtf8(sys::Utf8FromUtf16(text)), text);
  EXPECT_EQ(sys::Utf16FromUtf8("\xC0\xAF"), u"\xFFFD\xFFFD");  // overlong '/'
  EXPECT_EQ(sys::Utf8FromUtf16(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

}  // namespace
