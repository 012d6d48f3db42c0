#include <gtest/gtest.h>

#include "mp3/mp3_analyzer.h"
#include "mp3/tag_code_page.h"
#include "platform/codepage.h"
#include "tests/mp3/tag_builder.h"
#include "tests/support/mpeg_stream_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using mp3test::Ascii;
using mp3test::Bytes;
using mp3test::Frame;
using mp3test::Join;
using mp3test::Tag;
using mp3test::Text;
using mp3test::TrailingTag;
using testsupport::FrameSpec;

// 40 frames of MPEG-1 Layer III, 128 kbit/s: 1042.5 ms.
Bytes Audio() { return testsupport::MakeStream(FrameSpec{}, 40); }

class Analyzer : public ::testing::Test {
 protected:
  void SetUp() override { mp3::SelectTagCodePage(0x0409); }
  void TearDown() override {
    mp3::SelectTagCodePage(0x0409);
    sys::SetAnsiCodePage(0);
  }

  sys::Path write(const std::string& name, const Bytes& bytes) {
    const sys::Path path = dir / name;
    testsupport::WriteFile(path, bytes);
    return path;
  }
  // The tag texts of a file, as GetTagData gives them.
  HRESULT tags(const Bytes& bytes, mp3::WideTagTexts& wide, mp3::NarrowTagTexts& narrow) {
    mp3::CMp3Analyzer a;
    EXPECT_EQ(a.SetFile(write(testsupport::UniqueName("t") + ".mp3", bytes)), hr::kOk);
    return a.GetTagData(wide, narrow);
  }

  testsupport::TempDir dir;
};

TEST_F(Analyzer, ExtensionIsMp3InAnyLetterCase) {
  mp3::CMp3Analyzer a;
  for (const char* name : {"a.mp3", "b.MP3", "c.Mp3", "d.e.mP3"})
    EXPECT_EQ(a.SetFile(write(name, Audio())), hr::kOk) << name;
  for (const char* name : {"f.mp3.wav", "g.mp", "h.mp33", "mp3", "i.mp3 "}) {
    EXPECT_EQ(a.SetFile(write(name, Audio())), hr::kInvalidArg) << name;
    EXPECT_EQ(a.refusal(), mp3::Refusal::kExtension);
    EXPECT_FALSE(a.isFileSet());
  }
}

TEST_F(Analyzer, MissingFoldersRiffAndShortFilesAreRefused) {
  mp3::CMp3Analyzer a;
  EXPECT_EQ(a.SetFile(dir / "missing.mp3"), hr::kInvalidArg);
  EXPECT_EQ(a.refusal(), mp3::Refusal::kUnreadable);
  sys::CreateFolder(dir / "folder.mp3");
  EXPECT_EQ(a.SetFile(dir / "folder.mp3"), hr::kInvalidArg);
  for (const char* riff : {"RIFF", "riff", "RiFf"}) {
    EXPECT_EQ(a.SetFile(write("wrapped.mp3", Join({Ascii(riff), Audio()}))), hr::kInvalidArg);
    EXPECT_EQ(a.refusal(), mp3::Refusal::kRiff);
  }
  EXPECT_EQ(a.SetFile(write("three.mp3", Bytes(3, 0xFF))), hr::kUnexpected);
  EXPECT_EQ(a.SetFile(write("short.mp3", Bytes(127, 0))), hr::kUnexpected);
  EXPECT_EQ(a.SetFile(write("just.mp3", Bytes(128, 0))), hr::kOk);
  EXPECT_FALSE(a.CheckValidity(dir / "wrapped.mp3"));
  EXPECT_EQ(a.refusal(), mp3::Refusal::kRiff);
}

TEST_F(Analyzer, NamesOutsideTheAnsiCodePageAreOpened) {
  mp3::CMp3Analyzer a;
  const sys::Path path = dir.path() / sys::Path(u"\u6771\u4eac\u0100.mp3");
  testsupport::WriteFile(path, Audio());
  EXPECT_TRUE(a.CheckValidity(path));
}

TEST_F(Analyzer, EveryFrameMustLieWithin32To320Kbits) {
  struct Case {
    const char* name;
    Bytes audio;
    bool valid;
    mp3::Refusal why;
  };
  const Case cases[] = {
      {"mpeg2-l3-64k", testsupport::MakeStream(testsupport::FrameLayout(2, 3, 8, 0), 30), true,
       mp3::Refusal::kNone},
      {"mpeg2-l3-24k", testsupport::MakeStream(testsupport::FrameLayout(2, 3, 3, 0), 30), false,
       mp3::Refusal::kBitRate},
      {"mpeg1-l2-384k", testsupport::MakeStream(testsupport::FrameLayout(1, 2, 14, 1), 30), false,
       mp3::Refusal::kBitRate},
      {"limits",
       Join({testsupport::MakeStream(testsupport::FrameLayout(1, 3, 1, 0), 3),
             testsupport::MakeStream(testsupport::FrameLayout(1, 3, 14, 0), 3)}),
       true, mp3::Refusal::kNone},
      {"one-too-fast",
       Join({Audio(), testsupport::MakeFrame(testsupport::FrameLayout(1, 1, 11, 0)), Audio()}), false,
       mp3::Refusal::kBitRate},
      {"noise", Bytes(5000, 0x55), false, mp3::Refusal::kNoFrame},
  };
  for (const Case& c : cases) {
    mp3::CMp3Analyzer a;
    EXPECT_EQ(a.CheckValidity(write(std::string(c.name) + ".mp3", c.audio)), c.valid) << c.name;
    EXPECT_EQ(a.refusal(), c.why) << c.name;
  }
}

TEST_F(Analyzer, ScanStartsAfterTheLeadingTagAndStopsBeforeTheTrailingOne) {
  // Frame headers hidden in both tags must not count.
  const Bytes hidden = testsupport::MakeFrame(FrameSpec{});
  const Bytes leading = Tag(3, {Frame(3, "PRIV", hidden)});
  Bytes trailing = TrailingTag("", "", "");
  std::copy(hidden.begin(), hidden.begin() + 4, trailing.begin() + 3);
  mp3::CMp3Analyzer a;
  uint32_t lowest = 0, highest = 0, duration = 0;
  ASSERT_EQ(a.SetFile(write("tagged.mp3", Join({leading, Audio(), trailing}))), hr::kOk);
  EXPECT_TRUE(a.hasLeadingTag());
  EXPECT_TRUE(a.hasTrailingTag());
  ASSERT_EQ(a.GetMp3Data(lowest, highest, duration), hr::kOk);
  EXPECT_EQ(duration, 1042u);
  // Without the "TAG" mark the same 128 bytes are audio and their header counts.
  trailing[0] = 'X';
  ASSERT_EQ(a.SetFile(write("untagged.mp3", Join({Audio(), trailing}))), hr::kOk);
  EXPECT_FALSE(a.hasTrailingTag());
  ASSERT_EQ(a.GetMp3Data(lowest, highest, duration), hr::kOk);
  EXPECT_EQ(duration, 1068u);  // 41 frames
  EXPECT_EQ(lowest, 128000u);
  EXPECT_EQ(highest, 128000u);
}

TEST_F(Analyzer, LeadingTitleWithTrailingArtist) {
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  const Bytes file =
      Join({Tag(3, {Frame(3, "TIT2", Text(0, Ascii("Song")))}), Audio(), TrailingTag("Old", "Abc", "")});
  EXPECT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(wide.title, u"Song");
  EXPECT_EQ(narrow.title, "Song");
  EXPECT_EQ(wide.artist, u"Abc");
  EXPECT_EQ(narrow.artist, "Abc");
  EXPECT_EQ(wide.album, u"");
  EXPECT_EQ(wide.genre, u"");
}

TEST_F(Analyzer, UnicodeTextsBecomeNarrowInTheTagCodePage) {
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  const Bytes title = mp3test::Utf16Le(u"Caf\u00e9 \u6771\u4eac");
  const Bytes longArtist = Ascii(std::string(600, 'x'));
  const Bytes file =
      Join({Tag(3, {Frame(3, "TIT2", Text(1, title)), Frame(3, "TPE1", Text(3, longArtist))}), Audio()});
  ASSERT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(narrow.title, "Caf\xE9   ");  // no best fit: what 1252 lacks becomes a blank
  EXPECT_EQ(wide.artist.size(), 64u);
  mp3::SelectTagCodePage(0x0411);
  ASSERT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(narrow.title, "Caf  \x93\x8C\x8B\x9E");
  // Narrow text from a long UTF-16 text stops at 511 bytes.
  const Bytes huge =
      Join({Tag(3, {Frame(3, "TALB", Text(1, mp3test::Utf16Le(std::u16string(600, u'y'))))}), Audio()});
  ASSERT_EQ(tags(huge, wide, narrow), hr::kOk);
  EXPECT_EQ(wide.album.size(), 600u);
  EXPECT_EQ(narrow.album, std::string(511, 'y'));
}

TEST_F(Analyzer, TrailingTagAloneIsReadInTheTagCodePage) {
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  const Bytes file = Join({Audio(), TrailingTag("\x93\x8C\x8B\x9E", "Caf\xE9", "", 13)});
  ASSERT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(wide.artist, u"Caf\u00e9");
  EXPECT_EQ(wide.genre, u"Pop");
  EXPECT_EQ(narrow.title, "\x93\x8C\x8B\x9E");
  mp3::SelectTagCodePage(0x0411);
  ASSERT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(wide.title, u"\u6771\u4eac");
}

TEST_F(Analyzer, BlankTrailingTitleIsNoTitle) {
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  ASSERT_EQ(tags(Join({Audio(), TrailingTag(std::string(30, ' '), "Artist", "   ")}), wide, narrow), hr::kOk);
  EXPECT_EQ(narrow.title, "");
  EXPECT_EQ(wide.title, u"");
  EXPECT_EQ(wide.artist, u"Artist");
  // With a leading tag that gave a genre, the blank album is tried alone:
  // its narrow text stays, its wide text stays empty.
  const Bytes leading = Tag(3, {Frame(3, "TCON", Text(0, Ascii("Jazz")))});
  ASSERT_EQ(tags(Join({leading, Audio(), TrailingTag(std::string(30, ' '), "Artist", "   ")}), wide, narrow),
            hr::kOk);
  EXPECT_EQ(narrow.album, "   ");
  EXPECT_EQ(wide.album, u"");
  EXPECT_EQ(narrow.title, "");
  EXPECT_EQ(wide.genre, u"Jazz");
}

TEST_F(Analyzer, BrokenLeadingTagFailsUnlessATrailingTagAnswers) {
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  const Bytes future = Join({Ascii("ID3"), {5, 0, 0, 0, 0, 0, 0}});
  EXPECT_EQ(tags(Join({future, Audio()}), wide, narrow), hr::kUnexpected);
  EXPECT_EQ(tags(Join({future, Audio(), TrailingTag("T", "A", "B")}), wide, narrow), hr::kOk);
  EXPECT_EQ(wide.title, u"T");
  // A size of 256 MB in a small file is refused before any memory is taken.
  const Bytes oversized = Join({Ascii("ID3"), {3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}, Audio()});
  mp3::CMp3Analyzer a;
  ASSERT_EQ(a.SetFile(write("oversized.mp3", oversized)), hr::kOk);
  bool flag = true;
  EXPECT_EQ(a.ReadId3v2(wide, flag), hr::kUnexpected);
  EXPECT_FALSE(flag);
  const Bytes old = Join({Ascii("ID3"), {1, 0, 0, 0, 0, 0, 0}, Audio()});
  ASSERT_EQ(a.SetFile(write("old.mp3", old)), hr::kOk);
  EXPECT_EQ(a.ReadId3v2(wide, flag), hr::kFail);
}

TEST_F(Analyzer, NarrowTextsInTheAnsiCodePageOfAJapaneseSystem) {
  sys::SetAnsiCodePage(932);
  if (sys::AnsiCodePage() != 932) GTEST_SKIP() << "the system's ANSI code page is not 932";
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  const Bytes file = Join({Tag(3, {Frame(3, "TIT2", Text(0, Ascii("\x93\x8C\x8B\x9E")))}), Audio()});
  ASSERT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(wide.title, u"\u6771\u4eac");
  EXPECT_EQ(narrow.title, "\x93\x8C\x8B\x9E");
}

TEST_F(Analyzer, AnsiTextsOnASystemSetToUtf8) {
  sys::SetAnsiCodePage(sys::kUtf8CodePage);
  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  const Bytes file = Join({Tag(3, {Frame(3, "TIT2", Text(0, Ascii("Caf\xC3\xA9"))),
                                   Frame(3, "TPE1", Text(0, Ascii("\xE6\x9D\xB1")))}),
                           Audio()});
  ASSERT_EQ(tags(file, wide, narrow), hr::kOk);
  EXPECT_EQ(wide.title, u"Caf\u00e9");
  EXPECT_EQ(wide.artist, u"\u6771");
  EXPECT_EQ(narrow.title, "Caf\xC3\xA9");
  EXPECT_EQ(narrow.artist, "\xE6\x9D\xB1");
}

TEST_F(Analyzer, TrackInfoTakesTextsDurationAndNumber) {
  const Bytes file =
      Join({Tag(4, {Frame(4, "TIT2", Text(3, Ascii("T"))), Frame(4, "TCON", Text(0, Ascii("(17)")))}),
            testsupport::MakeStream(testsupport::FrameLayout(1, 3, 7, 2), 3), Audio()});
  const sys::Path path = write("info.mp3", file);
  mp3::TrackInfo info;
  info.reserved = 7;
  mp3::CMp3Analyzer a;
  ASSERT_EQ(a.GetTrackInfo(path, info, mp3::kMaxTrackNumber), hr::kOk);
  EXPECT_EQ(info.number, 65525u);
  EXPECT_EQ(info.sourcePath, path);
  EXPECT_EQ(info.title, "T");
  EXPECT_EQ(info.wideGenre, u"Rock");
  EXPECT_EQ(info.genre, "Rock");
  EXPECT_EQ(info.highestBitRate, 128000u);
  EXPECT_EQ(info.durationMs, 1150u);  // 1042.5 + 3 x 36 ms
  EXPECT_EQ(info.reserved, 0u);

  mp3::TrackInfo refused;
  mp3::CMp3Analyzer b;
  EXPECT_EQ(b.GetTrackInfo(path, refused, mp3::kMaxTrackNumber + 1), hr::kFail);
  EXPECT_EQ(refused.number, 0u);
  EXPECT_EQ(refused.sourcePath, path);
  EXPECT_EQ(refused.title, "");
  EXPECT_EQ(refused.durationMs, 0u);
}

TEST_F(Analyzer, TrackInfoAfterTheCheckMatchesAFreshAnalysersAndFollowsANewPath) {
  const sys::Path first = write("checked.mp3", Join({Tag(3, {Frame(3, "TIT2", Text(0, Ascii("T")))}), Audio(),
                                                     TrailingTag("", "Art", "Alb")}));
  const sys::Path second = write("other.mp3", Join({Audio(), TrailingTag("Other", "", "")}));
  mp3::TrackInfo fresh;
  mp3::CMp3Analyzer reader;
  ASSERT_EQ(reader.GetTrackInfo(first, fresh, 0), hr::kOk);

  mp3::CMp3Analyzer checker;
  ASSERT_TRUE(checker.CheckValidity(first));
  mp3::TrackInfo reused;
  ASSERT_EQ(checker.GetTrackInfo(first, reused, 0, checker.lastScan()), hr::kOk);
  EXPECT_EQ(reused.title, "T");
  EXPECT_EQ(reused.artist, fresh.artist);
  EXPECT_EQ(reused.album, "Alb");
  EXPECT_EQ(reused.wideAlbum, fresh.wideAlbum);
  EXPECT_EQ(reused.durationMs, fresh.durationMs);
  // Another path is set afresh, not read through the open file.
  ASSERT_EQ(checker.GetTrackInfo(second, reused, 0), hr::kOk);
  EXPECT_EQ(reused.title, "Other");
  EXPECT_EQ(reused.album, "");
}

}  // namespace
