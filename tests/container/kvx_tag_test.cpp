// The tag in memory: parsing and its refusals, the indexes and their keys,
// and serialisation in the three write orders.
#include "container/kvx_tag.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/container/tag_test_bytes.h"

namespace {

using container::KvxFileRet;
using container::KVXTag;
using container::TagFrame;
using container::WriteOrder;
using namespace tagbytes;

KvxFileRet Parse(KVXTag& tag, const Bytes& image) { return tag.parse(image.data(), image.size()); }

TEST(KvxTagParse, ReadsBothMagicsAndKeepsTheHeader) {
  for (std::string_view magic : {"kvx", "ID3"}) {
    KVXTag tag;
    Bytes image = Cat({Tag({Frame("TIT2", Cat({{0x00}, Ascii("Hi")}))}, 20, magic, 0x10), Audio(50)});
    ASSERT_EQ(Parse(tag, image), KvxFileRet::kOk);
    EXPECT_TRUE(tag.hasHeader());
    EXPECT_EQ(tag.length(), 10u + 13u + 20u);
    EXPECT_EQ(Bytes(tag.header().begin(), tag.header().end()), Bytes(image.begin(), image.begin() + 10));
    ASSERT_EQ(tag.frameCount(), 1u);
    EXPECT_EQ(tag.entries()[0].key, "TIT2");
  }
}

TEST(KvxTagParse, BytesWithoutMagicAreAFileWithoutTag) {
  KVXTag tag;
  EXPECT_EQ(Parse(tag, Audio(100)), KvxFileRet::kOk);
  EXPECT_FALSE(tag.hasHeader());
  EXPECT_EQ(tag.length(), 0u);
  EXPECT_EQ(Parse(tag, Ascii("kvx\x03")), KvxFileRet::kOk);  // shorter than a header
  EXPECT_FALSE(tag.hasHeader());
  // A size field of 0: the header alone.
  EXPECT_EQ(Parse(tag, Tag({}, 0)), KvxFileRet::kOk);
  EXPECT_TRUE(tag.hasHeader());
  EXPECT_EQ(tag.length(), 10u);
  EXPECT_EQ(tag.frameCount(), 0u);
}

TEST(KvxTagParse, TwoZeroBytesAfterTheFirstFrameEndParsing) {
  KVXTag tag;
  Bytes image = Tag({Frame("TIT2", {0x00, 'a'}), {0x00, 0x00}, Frame("TALB", {0x00, 'b'})}, 30);
  ASSERT_EQ(Parse(tag, image), KvxFileRet::kOk);
  ASSERT_EQ(tag.frameCount(), 1u);
  EXPECT_EQ(tag.entries()[0].key, "TIT2");
}

TEST(KvxTagParse, RefusesWhatItCannotReadWithItsCode) {
  struct Case {
    const char* what;
    Bytes image;
    KvxFileRet code;
  };
  const Bytes title = Frame("TIT2", {0x00, 'a'});
  Bytes pastTheTag = Tag({title, Frame("TALB", {0x00, 'b'})}, 0);
  pastTheTag[10 + 12 + 7] = 50;  // TALB claims 50 bytes where 2 remain
  Bytes headerCut = Tag({title}, 0);
  headerCut.insert(headerCut.end(), {'T', 'A', 'L', 'B', 0});  // five bytes of a header
  headerCut[9] += 5;
  const Case cases[] = {
      {"COMM frame", Tag({title, Frame("COMM", Cat({{0x00}, Ascii("eng"), {0x00}, Ascii("x")}))}, 10),
       KvxFileRet::kMalformed},
      {"body past the tag", pastTheTag, KvxFileRet::kInconsistent},
      {"header past the tag", headerCut, KvxFileRet::kInconsistent},
      {"zero-length body", Tag({Frame("TIT2", {})}, 10), KvxFileRet::kMalformed},
      {"TXXX without terminator", Tag({Frame("TXXX", Cat({{0x00}, Ascii("LMR_TRACK")}))}, 10),
       KvxFileRet::kMalformed},
      {"UTF-16 TXXX terminator", Tag({Frame("TXXX", Cat({{0x02}, Be(u"D"), {0x00}}))}, 10),
       KvxFileRet::kMalformed},
      {"TXXX empty description", Tag({Frame("TXXX", {0x00, 0x00, 'v'})}, 10), KvxFileRet::kMalformed},
      {"TXXX encoding 3", Tag({Frame("TXXX", {0x03, 'D', 0x00, 'v'})}, 10), KvxFileRet::kInconsistent},
      {"WXXX encoding 3", Tag({Frame("WXXX", {0x03, 'D', 0x00, 'v'})}, 10), KvxFileRet::kMalformed},
      {"GEOB encoding 3", Tag({Frame("GEOB", {0x03, 0x00, 0x00, 'D', 0x00})}, 10), KvxFileRet::kMalformed},
      {"GEOB MIME unterminated", Tag({Frame("GEOB", Cat({{0x00}, Ascii("bin")}))}, 10),
       KvxFileRet::kMalformed},
      {"version 2.4",
       [] {
         Bytes t = Tag({}, 10);
         t[3] = 4;
         return t;
       }(),
       KvxFileRet::kMalformed},
      {"unsynchronised", Tag({}, 10, "kvx", 0x80), KvxFileRet::kMalformed},
      {"extended header", Tag({Frame("TIT2", {0, 'a'})}, 10, "ID3", 0x40), KvxFileRet::kMalformed},
      {"size not synchsafe",
       [] {
         Bytes t = Tag({}, 10);
         t[9] = 0x8A;
         return t;
       }(),
       KvxFileRet::kMalformed},
      {"compressed frame", Tag({Frame("TIT2", {0, 0, 0, 1, 'x'}, 0, 0x80)}, 10), KvxFileRet::kMalformed},
      {"tag longer than the file",
       [] {
         Bytes t = Tag({Frame("TIT2", {0, 'a'})}, 100);
         t.resize(50);
         return t;
       }(),
       KvxFileRet::kInconsistent},
  };
  for (const Case& c : cases) {
    KVXTag tag;
    EXPECT_EQ(Parse(tag, c.image), c.code) << c.what;
  }
}

TEST(KvxTagParse, KeepsTheFramesBeforeARefusedOne) {
  KVXTag tag;
  Bytes image = Tag({Frame("TIT2", {0x00, 'a'}), Frame("COMM", {0x00, 'x'}), Frame("TALB", {0x00, 'b'})}, 0);
  EXPECT_EQ(Parse(tag, image), KvxFileRet::kMalformed);
  ASSERT_EQ(tag.frameCount(), 1u);
  EXPECT_EQ(tag.entries()[0].key, "TIT2");
}

TEST(KvxTagIndex, KeysDescribedFramesByDescriptionInAnyEncoding) {
  KVXTag tag;
  Bytes image =
      Tag({Frame("TXXX", Cat({{0x00}, Ascii("LMR_TRACK"), {0x00}, Ascii("7")})),
           Frame("TXXX", Cat({{0x01}, LeWithBom(u"LMR_TPE1S"), {0, 0}, LeWithBom(u"x")})),
           Frame("WXXX", Cat({{0x02}, Be(u"LMR_WINFO1"), {0, 0}, Ascii("http://a/")})),
           Frame("GEOB", Cat({{0x00}, Ascii("bin"), {0}, Ascii("f"), {0}, Ascii("LMR_LSI"), {0}, {1, 2}})),
           Frame("WOAR", Ascii("http://1/")), Frame("WOAR", Ascii("http://2/")), Frame("TIT2", {0x00, 'a'}),
           Frame("TIT2", {0x00, 'b'})},
          0);
  ASSERT_EQ(Parse(tag, image), KvxFileRet::kOk);
  // The second "TIT2" replaced the first; both "WOAR" frames stay.
  EXPECT_EQ(tag.frameCount(), 7u);
  EXPECT_TRUE(tag.hasObject("LMR_LSI"));
  EXPECT_EQ(tag.removeFrames("TXXX", u"LMR_TRACK"), KvxFileRet::kOk);
  EXPECT_EQ(tag.removeFrames("TXXX", u"LMR_TPE1S"), KvxFileRet::kOk);
  EXPECT_EQ(tag.removeFrames("WXXX", u"LMR_WINFO1"), KvxFileRet::kOk);
  EXPECT_EQ(tag.removeFrames("GEOB", u"LMR_LSI"), KvxFileRet::kOk);
  EXPECT_EQ(tag.removeFrames("WOAR", u""), KvxFileRet::kOk);  // both at once
  EXPECT_EQ(tag.removeFrames("TIT2", u"ignored"), KvxFileRet::kOk);
  EXPECT_EQ(tag.frameCount(), 0u);
  EXPECT_EQ(tag.removeFrames("TIT2", u""), KvxFileRet::kNoFrames);
  EXPECT_EQ(tag.removeFrames("COMM", u""), KvxFileRet::kMalformed);
}

TEST(KvxTagIndex, AnswersTheProtectionQueryFromTheFlagsByte) {
  KVXTag tag;
  ASSERT_EQ(Parse(tag, Tag({Frame("TLEN", {0x00, '9'}, 0x20), Frame("TIT2", {0x00, 'a'}, 0x40)}, 0)),
            KvxFileRet::kOk);
  EXPECT_EQ(tag.queryProtection("TLEN", u""), KvxFileRet::kProtected);
  EXPECT_EQ(tag.queryProtection("TIT2", u""), KvxFileRet::kNotProtected);
  EXPECT_EQ(tag.queryProtection("TALB", u""), KvxFileRet::kNoFrames);
}

TEST(KvxTagIndex, InsertRefusesFramesWithoutAKey) {
  KVXTag tag;
  EXPECT_EQ(tag.insertFrame(TagFrame(Frame("TXXX", {0x00, 0x00, 'v'}))), KvxFileRet::kMalformed);
  EXPECT_EQ(tag.insertFrame(TagFrame(Frame(std::string_view("\0\0\0\0", 4), {0x00}))),
            KvxFileRet::kMalformed);
  Bytes lying = Frame("TIT2", {0x00, 'a'});
  lying[7] = 9;
  EXPECT_EQ(tag.insertFrame(TagFrame(lying)), KvxFileRet::kInconsistent);
  EXPECT_EQ(tag.frameCount(), 0u);
}

class KvxTagWriteOrder : public ::testing::Test {
 protected:
  void SetUp() override {
    auto text = [](std::string_view id) { return Frame(id, {0x02, 0x00, 'x'}); };
    auto user = [](std::string_view d) {
      return Frame("TXXX", Cat({{0x02}, Be(std::u16string(d.begin(), d.end())), {0, 0}}));
    };
    auto object = [](std::string_view d) {
      return Frame("GEOB",
                   Cat({{0x02, 0x00, 0x00, 0x00}, Be(std::u16string(d.begin(), d.end())), {0, 0, 7}}));
    };
    // Filed in an order unlike every write order.
    image = Tag({text("TYER"), Frame("WCOM", Ascii("c")), object("zzz"), user("LMR_TRACK"),
                 object("LMR_FTHBL2"), Frame("WOAR", Ascii("b")), text("TCON"), object("LMR_LSI"),
                 user("AAA"), text("TALB"), object("LMR_ULINF"), text("TPE1"), Frame("WOAR", Ascii("a")),
                 object("LMR_FTHBL1"), text("TIT2"), user("LMR_TPE1S"), text("TCOM")},
                0);
  }
  // Frame identifiers with the description where it is the key.
  std::vector<std::string> Order(WriteOrder order) {
    KVXTag tag;
    EXPECT_EQ(Parse(tag, image), KvxFileRet::kOk);
    Bytes out;
    EXPECT_EQ(tag.serialise(order, out), KvxFileRet::kOk);
    EXPECT_EQ(tag.frameCount(), 0u);
    KVXTag again;
    EXPECT_EQ(Parse(again, Tag({out}, 0)), KvxFileRet::kOk);
    std::vector<std::string> names;
    for (const auto& e : again.entries()) {
      std::string id = e.frame->id();
      names.push_back(id == e.key ? id : id + " " + e.key);
    }
    return names;
  }
  Bytes image;
};

TEST_F(KvxTagWriteOrder, LsiOrder) {
  EXPECT_EQ(Order(WriteOrder::kLsi),
            (std::vector<std::string>{"GEOB LMR_LSI", "TIT2", "TPE1", "TALB", "TCON", "TXXX LMR_TPE1S",
                                      "TXXX LMR_TRACK", "TYER", "GEOB LMR_FTHBL1", "GEOB LMR_FTHBL2", "WCOM",
                                      "WOAR", "WOAR", "TXXX AAA", "TCOM", "GEOB LMR_ULINF", "GEOB zzz"}));
}

TEST_F(KvxTagWriteOrder, UlinfAndPlainOrders) {
  std::vector<std::string> ulinf = Order(WriteOrder::kUlinf);
  ASSERT_EQ(ulinf.size(), 17u);
  EXPECT_EQ(ulinf.front(), "GEOB LMR_ULINF");
  EXPECT_EQ(std::vector<std::string>(ulinf.end() - 2, ulinf.end()),
            (std::vector<std::string>{"GEOB LMR_LSI", "GEOB zzz"}));
  std::vector<std::string> plain = Order(WriteOrder::kPlain);
  ASSERT_EQ(plain.size(), 17u);
  EXPECT_EQ(plain.front(), "TIT2");
  EXPECT_EQ(std::vector<std::string>(plain.end() - 3, plain.end()),
            (std::vector<std::string>{"GEOB LMR_LSI", "GEOB LMR_ULINF", "GEOB zzz"}));
}

TEST_F(KvxTagWriteOrder, RepeatedLinksKeepTheirFilingOrder) {
  KVXTag tag;
  ASSERT_EQ(Parse(tag, image), KvxFileRet::kOk);
  Bytes out;
  ASSERT_EQ(tag.serialise(WriteOrder::kLsi, out), KvxFileRet::kOk);
  const Bytes woarB = Frame("WOAR", Ascii("b"));
  const Bytes woarA = Frame("WOAR", Ascii("a"));
  auto at = [&](const Bytes& f) {
    return std::search(out.begin(), out.end(), f.begin(), f.end()) - out.begin();
  };
  EXPECT_LT(at(woarB), at(woarA));
}

}  // namespace
