#include "mp3/id3v2_tag.h"

#include <gtest/gtest.h>

#include "mp3/genre_reference.h"
#include "tests/mp3/tag_builder.h"

namespace {

using namespace std::string_literals;
using mp3test::Ascii;
using mp3test::Bytes;
using mp3test::Frame;
using mp3test::Join;
using mp3test::Tag;
using mp3test::Text;
using mp3test::Utf16Be;
using mp3test::Utf16Le;

mp3::Id3v2Texts Parse(const Bytes& tag, HRESULT expected = hr::kOk) {
  mp3::Id3v2Texts out;
  EXPECT_EQ(mp3::ParseId3v2Tag(tag.data(), tag.size(), out), expected);
  return out;
}

TEST(Id3v2Tag, Version3NarrowTextsAllFour) {
  const auto r = Parse(
      Tag(3,
          {Frame(3, "TIT2", Text(0, Ascii("Title"))), Frame(3, "TPE1", Text(0, Ascii("Artist"))),
           Frame(3, "TALB", Text(0, Ascii("Album\0ignored"s))), Frame(3, "TCON", Text(0, Ascii("(17)")))},
          0, {}, 64));
  EXPECT_EQ(r.texts.title, u"Title");
  EXPECT_EQ(r.texts.artist, u"Artist");
  EXPECT_EQ(r.texts.album, u"Album");
  EXPECT_EQ(r.texts.genre, u"Rock");
  EXPECT_FALSE(r.wide);
}

TEST(Id3v2Tag, Version2Utf16WithAndWithoutByteOrderMark) {
  const auto r = Parse(Tag(2, {Frame(2, "TT2", Text(1, Join({{0xFF, 0xFE}, Utf16Le(u"Mark\u00e9")}))),
                               Frame(2, "TP1", Text(1, Utf16Le(u"No mark"))),
                               Frame(2, "TAL", Text(1, Join({{0xFE, 0xFF}, Utf16Be(u"Big\u6771")}))),
                               Frame(2, "TCO", Text(1, Join({Utf16Le(u"Jazz"), {0, 0}, Utf16Le(u"x")})))}));
  EXPECT_EQ(r.texts.title, u"Mark\u00e9");
  EXPECT_EQ(r.texts.artist, u"No mark");
  EXPECT_EQ(r.texts.album, u"Big\u6771");
  EXPECT_EQ(r.texts.genre, u"Jazz");
  EXPECT_TRUE(r.wide);
}

TEST(Id3v2Tag, BigEndianTextKeepsItsFirstCharacterWithoutMark) {
  const auto r = Parse(Tag(4, {Frame(4, "TIT2", Text(2, Utf16Be(u"Big Endian Title"))),
                               Frame(4, "TPE1", Text(2, Join({{0xFE, 0xFF}, Utf16Be(u"Marked")}))),
                               // Encoding 1 with a big-endian mark is big-endian.
                               Frame(4, "TALB", Text(1, Join({{0xFE, 0xFF}, Utf16Be(u"Album")}))),
                               Frame(4, "TCON", Text(1, Join({{0xFF, 0xFE}, Utf16Le(u"(0)")})))}));
  EXPECT_EQ(r.texts.title, u"Big Endian Title");
  EXPECT_EQ(r.texts.artist, u"Marked");
  EXPECT_EQ(r.texts.album, u"Album");
  EXPECT_EQ(r.texts.genre, u"Blues");
}

TEST(Id3v2Tag, Utf8TextIsCutAt64UnitsWithoutSplittingAPair) {
  std::string accents;
  for (int i = 0; i < 70; ++i) accents += "\xC3\xA9";  // U+00E9, two bytes, one unit
  // 63 units, then U+1F3B5 (a surrogate pair) that does not fit whole.
  const std::string pair = std::string(63, 'a') + "\xF0\x9F\x8E\xB5";
  const auto r =
      Parse(Tag(4, {Frame(4, "TIT2", Text(3, Ascii(accents))), Frame(4, "TPE1", Text(3, Ascii(pair))),
                    Frame(4, "TALB",
                          Text(3, Ascii("\xEF\xBB\xBF"
                                        "Marked")))}));
  EXPECT_EQ(r.texts.title, std::u16string(64, u'\u00e9'));
  EXPECT_EQ(r.texts.artist, std::u16string(63, u'a'));
  EXPECT_EQ(r.texts.album, u"Marked");
  EXPECT_TRUE(r.wide);
}

TEST(Id3v2Tag, LastMatchingFrameDecidesTheWideTextFlag) {
  EXPECT_FALSE(
      Parse(Tag(3, {Frame(3, "TIT2", Text(1, Utf16Le(u"A"))), Frame(3, "TPE1", Text(0, Ascii("B")))})).wide);
  EXPECT_TRUE(Parse(Tag(3, {Frame(3, "TIT2", Text(0, Ascii("A"))), Frame(3, "TPE1", Text(1, Utf16Le(u"B"))),
                            Frame(3, "COMM", Text(0, Ascii("not wanted")))}))
                  .wide);
  EXPECT_FALSE(Parse(Tag(2, {Frame(2, "TT2", Text(3, Ascii("A")))})).wide);  // 2.2 knows only encoding 1
}

TEST(Id3v2Tag, ExtendedHeadersAreSkippedBySizeOfTheirVersion) {
  // 2.3: six bytes after a size that leaves out its own four.
  const Bytes v3 = Join({{0, 0, 0, 6}, Bytes(6, 0xEE)});
  EXPECT_EQ(Parse(Tag(3, {Frame(3, "TIT2", Text(0, Ascii("Three")))}, 0x40, v3)).texts.title, u"Three");
  // 2.4: a synchsafe size of the whole extended header.
  const Bytes v4 = Join({mp3test::Synchsafe(6), {1, 0}});
  EXPECT_EQ(Parse(Tag(4, {Frame(4, "TIT2", Text(0, Ascii("Four")))}, 0x40, v4)).texts.title, u"Four");
  // An extended header larger than the tag leaves nothing to walk.
  EXPECT_EQ(Parse(Tag(3, {Frame(3, "TIT2", Text(0, Ascii("X")))}, 0x40, {0x7F, 0, 0, 0})).texts.title, u"");
  EXPECT_EQ(Parse(Join({Ascii("ID3"), {3, 0, 0x40, 0, 0, 0, 2}, {0, 0}})).texts.title, u"");
}

TEST(Id3v2Tag, WalkEndsAtAFrameThatRunsPastTheTag) {
  // The artist frame claims more bytes than are left: the walk ends there,
  // and the album after it is not read.
  Bytes tag =
      Tag(3, {Frame(3, "TIT2", Text(0, Ascii("Kept"))), Frame(3, "TPE1", Text(0, Ascii("Lost")), 0x7FFFFFF0),
              Frame(3, "TALB", Text(0, Ascii("Unreached")))});
  auto r = Parse(tag);
  EXPECT_EQ(r.texts.title, u"Kept");
  EXPECT_EQ(r.texts.artist, u"");
  EXPECT_EQ(r.texts.album, u"");
  // A frame header cut by the end of the tag is not read at all.
  tag = Join({Tag(4, {Frame(4, "TIT2", Text(0, Ascii("Whole")))}), Ascii("TPE")});
  tag[9] += 3;  // the tag's size now covers the three extra bytes
  EXPECT_EQ(Parse(tag).texts.title, u"Whole");
}

TEST(Id3v2Tag, FramesRepeatUntilAllFourAreFoundAndEmptyFramesArePassedOver) {
  const auto r =
      Parse(Tag(3, {Frame(3, "TIT2", {}), Frame(3, "TIT2", Text(0, Ascii("First"))),
                    Frame(3, "TIT2", Text(0, Ascii("Second"))), Frame(3, "TPE1", Text(0, Ascii("A"))),
                    Frame(3, "TALB", Text(0, Ascii("B"))), Frame(3, "TCON", Text(0, Ascii("C"))),
                    Frame(3, "TIT2", Text(0, Ascii("After all four")))}));
  EXPECT_EQ(r.texts.title, u"Second");
  EXPECT_EQ(r.texts.genre, u"C");
}

TEST(Id3v2Tag, VersionsWithoutAFrameLayoutAreRefused) {
  for (uint8_t version : {0, 1}) Parse(Join({Ascii("ID3"), {version, 0, 0, 0, 0, 0, 0}}), hr::kFail);
  Parse(Join({Ascii("ID3"), {5, 0, 0, 0, 0, 0, 0}}), hr::kUnexpected);
}

TEST(GenreReference, NumbersInParenthesesNameTableEntries) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"(17)", u"Rock"},      {u"(0)", u"Blues"},   {u"(147)", u"SynthPop"},
      {u"(9)Metal", u"Metal"}, {u"x(80)", u"Folk"},  {u"(200)", u"(200)"},
      {u"(RX)", u"(RX)"},      {u"(148)", u"(148)"}, {u"(00)", u"(00)"},
      {u"Rock", u"Rock"},      {u"(17", u"(17"},     {u"(99999999999)", u"(99999999999)"},
      {u"(3x)", u"Dance"},     {u"()", u"()"},
  };
  for (const auto& [text, genre] : cases) EXPECT_EQ(mp3::ResolveGenreReference(text), genre);
}

}  // namespace
