// Building frame bodies in each encoding, and the conversion to encoding 2
// and the 512-byte cut that serialisation applies.
#include "container/tag_frame_body.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "container/kvx_tag.h"
#include "platform/codepage.h"
#include "tests/container/tag_test_bytes.h"

namespace {

using container::BuildFrame;
using container::KvxFileRet;
using container::KVXTag;
using container::TagFrame;
using container::WriteOrder;
using namespace tagbytes;

Bytes Built(std::string_view id, const std::u16string& description, uint32_t encoding,
            const std::u16string& value, uint8_t flags = 0) {
  TagFrame frame;
  EXPECT_EQ(BuildFrame(id, description, encoding, value, flags, frame), KvxFileRet::kOk) << id;
  return frame.bytes();
}

// The frames of a tag image after one write in the LSI order.
Bytes Written(const Bytes& image) {
  KVXTag tag;
  EXPECT_EQ(tag.parse(image.data(), image.size()), KvxFileRet::kOk);
  Bytes out;
  EXPECT_EQ(tag.serialise(WriteOrder::kLsi, out), KvxFileRet::kOk);
  return out;
}

class AnsiIs1252 : public ::testing::Test {
 protected:
  void SetUp() override {
    sys::SetAnsiCodePage(1252);
    if (sys::AnsiCodePage() != 1252) GTEST_SKIP() << "system ANSI code page is " << sys::AnsiCodePage();
  }
  void TearDown() override { sys::SetAnsiCodePage(0); }
};

TEST_F(AnsiIs1252, TextFramesInEachEncoding) {
  EXPECT_EQ(Built("TIT2", u"", 0, u"A\u00e9"), Frame("TIT2", {0x00, 'A', 0xE9}));
  EXPECT_EQ(Built("TIT2", u"", 1, u"A\u00e9"), Frame("TIT2", {0x01, 0xFF, 0xFE, 'A', 0, 0xE9, 0}));
  EXPECT_EQ(Built("TIT2", u"", 2, u"A\u00e9"), Frame("TIT2", {0x02, 0, 'A', 0, 0xE9}));
  // An empty text is the encoding byte alone, in every encoding.
  EXPECT_EQ(Built("TALB", u"", 1, u""), Frame("TALB", {0x01}));
  EXPECT_EQ(Built("TCON", u"ignored", 2, u"", 0x20), Frame("TCON", {0x02}, 0x20));
}

TEST_F(AnsiIs1252, DescribedFramesInEachEncoding) {
  EXPECT_EQ(Built("TXXX", u"D", 0, u"v"), Frame("TXXX", {0x00, 'D', 0x00, 'v'}));
  EXPECT_EQ(Built("TXXX", u"D", 1, u"v"),
            Frame("TXXX", {0x01, 0xFF, 0xFE, 'D', 0, 0, 0, 0xFF, 0xFE, 'v', 0}));
  EXPECT_EQ(Built("TXXX", u"D", 2, u"v"), Frame("TXXX", {0x02, 0, 'D', 0, 0, 0, 'v'}));
  EXPECT_EQ(Built("WXXX", u"D", 2, u"http://x/"),
            Frame("WXXX", Cat({{0x02, 0, 'D', 0, 0}, Ascii("http://x/")})));
  EXPECT_EQ(Built("WXXX", u"D", 1, u"u"), Frame("WXXX", {0x01, 0xFF, 0xFE, 'D', 0, 0, 0, 'u'}));
  // MIME type and file name empty; the object is the value in the encoding.
  EXPECT_EQ(Built("GEOB", u"LMR_LSI", 0, u"ob"),
            Frame("GEOB", Cat({{0x00, 0x00, 0x00}, Ascii("LMR_LSI"), {0}, Ascii("ob")})));
  EXPECT_EQ(Built("GEOB", u"D", 1, u"o"),
            Frame("GEOB", {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFE, 'D', 0, 0, 0, 0xFF, 0xFE, 'o', 0}));
  EXPECT_EQ(Built("WOAR", u"", 2, u"http://a/"), Frame("WOAR", Ascii("http://a/")));
  EXPECT_EQ(Built("WPAY", u"", 2, u""), Frame("WPAY", {0x00}));
}

// A Windows set to use UTF-8 for its ANSI code page.
class AnsiIsUtf8 : public ::testing::Test {
 protected:
  void SetUp() override { sys::SetAnsiCodePage(sys::kUtf8CodePage); }
  void TearDown() override { sys::SetAnsiCodePage(0); }

  static bool Holds(const Bytes& frames, const Bytes& frame) {
    return std::search(frames.begin(), frames.end(), frame.begin(), frame.end()) != frames.end();
  }
};

TEST_F(AnsiIsUtf8, AnsiTextsAndDescriptionsSurviveARewrite) {
  EXPECT_EQ(Built("TIT2", u"", 0, u"A\u00e9"), Frame("TIT2", {0x00, 'A', 0xC3, 0xA9}));
  // Two descriptions the Western page cannot hold: each keeps its frame.
  const Bytes image = Tag({Frame("TIT2", Cat({{0x00}, Ascii("Caf\xC3\xA9")})),
                           Frame("TXXX", Cat({{0x02}, Be(u"\u6771\u4eac"), {0, 0, 0, '1'}})),
                           Frame("TXXX", Cat({{0x00}, Ascii("\xE5\xA4\xA7\xE9\x98\xAA"), {0, '2'}})),
                           Frame("WXXX", Cat({{0x00}, Ascii("\xC3\xA9"), {0}, Ascii("http://e/")}))},
                          0);
  const Bytes out = Written(image);
  EXPECT_EQ(WalkFrames(out).size(), 4u);
  EXPECT_TRUE(Holds(out, Frame("TIT2", Cat({{0x02}, Be(u"Caf\u00e9")}))));
  EXPECT_TRUE(Holds(out, Frame("TXXX", Cat({{0x02}, Be(u"\u6771\u4eac"), {0, 0, 0, '1'}}))));
  EXPECT_TRUE(Holds(out, Frame("TXXX", Cat({{0x02}, Be(u"\u5927\u962a"), {0, 0, 0, '2'}}))));
  EXPECT_TRUE(Holds(out, Frame("WXXX", Cat({{0x02}, Be(u"\u00e9"), {0, 0}, Ascii("http://e/")}))));
}

TEST(TagFrameBuild, RefusesUnknownEncodingsAndIdentifiers) {
  TagFrame f;
  EXPECT_EQ(BuildFrame("TIT2", u"", 3, u"x", 0, f), KvxFileRet::kUnknownEncoding);
  EXPECT_EQ(BuildFrame("TXXX", u"D", 3, u"x", 0, f), KvxFileRet::kUnknownEncoding);
  EXPECT_EQ(BuildFrame("WXXX", u"D", 3, u"x", 0, f), KvxFileRet::kMalformed);  // its terminator
  EXPECT_EQ(BuildFrame("GEOB", u"D", 258, u"x", 0, f), KvxFileRet::kMalformed);
  EXPECT_EQ(BuildFrame("TXXX", u"", 2, u"x", 0, f), KvxFileRet::kMalformed);  // no description
  EXPECT_EQ(BuildFrame("COMM", u"", 2, u"x", 0, f), KvxFileRet::kMalformed);
  EXPECT_EQ(BuildFrame("", u"", 2, u"x", 0, f), KvxFileRet::kMalformed);
}

TEST_F(AnsiIs1252, WritingConvertsEveryTextToEncoding2) {
  const Bytes image = Tag({Frame("TIT2", {0x00, 'A', 0xE9}, 0x40), Frame("TPE1", {0x01, 0xFF, 0xFE, 'b', 0}),
                           Frame("TALB", {0x01, 0xFE, 0xFF, 0, 'c'}), Frame("TCOM", {0x02, 0, 'd'}),
                           Frame("TXXX", Cat({{0x01}, LeWithBom(u"LMR_TRACK"), {0, 0}, LeWithBom(u"7")})),
                           Frame("WXXX", {0x00, 'D', 0x00, 'u'}),
                           Frame("GEOB", Cat({{0x00}, Ascii("m/t"), {0, 'f', 0, 'D', 0}, {9, 0, 9}})),
                           Frame("WOAR", Ascii("http://o/"))},
                          10);
  EXPECT_EQ(
      Written(image),
      Cat({Frame("TIT2", {0x02, 0, 'A', 0, 0xE9}, 0x40), Frame("TPE1", {0x02, 0, 'b'}),
           Frame("TALB", {0x02, 0, 'c'}), Frame("TXXX", Cat({{0x02}, Be(u"LMR_TRACK"), {0, 0, 0, '7'}})),
           Frame("WOAR", Ascii("http://o/")), Frame("WXXX", {0x02, 0, 'D', 0, 0, 'u'}),
           Frame("TCOM", {0x02, 0, 'd'}),
           Frame("GEOB", Cat({{0x02}, Ascii("m/t"), {0, 0, 'f', 0, 0, 0, 'D', 0, 0}, {9, 0, 9}}))}));
}

TEST(TagFrameWrite, CutsTheLeadingTextsTo512Bytes) {
  const std::u16string longText(300, u'x');
  const Bytes image = Tag({Frame("TIT2", Cat({{0x02}, Be(longText)})),
                           Frame("TXXX", Cat({{0x00}, Ascii("LMR_TRACK"), {0}, Bytes(600, '1')})),
                           Frame("TCOM", Cat({{0x02}, Be(longText)}))},
                          0);
  const Bytes out = Written(image);
  EXPECT_EQ(WalkFrames(out), (std::vector<std::pair<std::string, uint32_t>>{
                                 {"TIT2", 1 + 512}, {"TXXX", 1 + 20 + 512}, {"TCOM", 1 + 600}}));
  // The cut follows the conversion: 512 bytes of UTF-16 are 256 of the 600 digits.
  const Bytes txxx = Frame("TXXX", Cat({{0x02}, Be(u"LMR_TRACK"), {0, 0}, Be(std::u16string(256, u'1'))}));
  EXPECT_EQ(Bytes(out.begin() + 523, out.begin() + 523 + txxx.size()), txxx);
}

TEST(TagFrameWrite, NeverCutsASurrogatePairInTwo) {
  std::u16string text(255, u'x');
  text += u"\U0001F600";  // units 256 and 257: the cut at 512 bytes falls inside
  const Bytes out = Written(Tag({Frame("TIT2", Cat({{0x02}, Be(text)}))}, 0));
  EXPECT_EQ(WalkFrames(out)[0].second, 1u + 510u);
}

TEST(TagFrameWrite, RefusesFramesThatCannotBeConverted) {
  for (const Bytes& frame : {Frame("TIT2", {0x03, 'x'}), Frame("TPE1", {0x01, 0xFF, 0xFE, 'x'})}) {
    KVXTag tag;
    Bytes image = Tag({frame}, 0);
    ASSERT_EQ(tag.parse(image.data(), image.size()), KvxFileRet::kOk);
    Bytes out;
    EXPECT_EQ(tag.serialise(WriteOrder::kPlain, out), KvxFileRet::kMalformed);
  }
}

TEST(TagFrameWrite, UrlFramesOtherThanLinksAreWrittenUnchanged) {
  const Bytes pub = Frame("WPUB", Ascii("http://p/"));
  EXPECT_EQ(Written(Tag({pub, Frame("WPAY", {0x00})}, 0)), Cat({Frame("WPAY", {0x00}), pub}));
}

}  // namespace
