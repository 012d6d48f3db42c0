#include "mp3/validity_check.h"

#include <gtest/gtest.h>

#include "app/debug_log.h"
#include "mp3/tag_code_page.h"
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

Bytes Audio() { return testsupport::MakeStream(testsupport::FrameSpec{}, 40); }

class ValidityCheck : public ::testing::Test {
 protected:
  void SetUp() override { mp3::SelectTagCodePage(0x0409); }
  void TearDown() override { mp3::SelectTagCodePage(0x0409); }

  sys::Path write(const sys::Path& name, const Bytes& bytes) {
    const sys::Path path = dir.path() / name;
    testsupport::WriteFile(path, bytes);
    return path;
  }

  testsupport::TempDir dir;
};

TEST_F(ValidityCheck, FileWithoutTagsIsTitledByItsName) {
  mp3::TrackInfo info;
  mp3::ValidityReport report;
  const sys::Path path = write("My Song.v2.mp3", Audio());
  ASSERT_TRUE(mp3::CheckValidity(path, info, &report));
  EXPECT_EQ(info.title, "My Song.v2");
  EXPECT_EQ(info.wideTitle, u"My Song.v2");
  EXPECT_EQ(info.artist, "");
  EXPECT_EQ(info.wideArtist, u"");
  EXPECT_EQ(info.wideGenre, u"");
  EXPECT_EQ(info.number, 0u);
  EXPECT_EQ(info.sourcePath, path);
  EXPECT_EQ(info.durationMs, 1042u);
  EXPECT_EQ(info.highestBitRate, 128000u);
  EXPECT_TRUE(report.accepted);
  EXPECT_EQ(report.reason, mp3::Refusal::kNone);
  EXPECT_EQ(report.lowestBitRate, 128000u);
}

TEST_F(ValidityCheck, TagTitleWinsOverTheName) {
  mp3::TrackInfo info;
  const Bytes tag = Tag(3, {Frame(3, "TIT2", Text(0, Ascii("Tagged")))});
  ASSERT_TRUE(mp3::CheckValidity(write("named.mp3", Join({tag, Audio()})), info));
  EXPECT_EQ(info.title, "Tagged");
}

TEST_F(ValidityCheck, NameTitleKeepsCharactersOutsideTheAnsiCodePage) {
  mp3::TrackInfo info;
  ASSERT_TRUE(mp3::CheckValidity(write(sys::Path(u"\u6771\u4eac\u0100.mp3"), Audio()), info));
  EXPECT_EQ(info.wideTitle, u"\u6771\u4eac\u0100");
  EXPECT_EQ(info.title, "   ");
  mp3::SelectTagCodePage(0x0411);
  mp3::TrackInfo japanese;
  ASSERT_TRUE(mp3::CheckValidity(dir.path() / sys::Path(u"\u6771\u4eac\u0100.mp3"), japanese));
  EXPECT_EQ(japanese.title, "\x93\x8C\x8B\x9E ");
  // A long name gives a wide title of 64 units and the whole narrow name.
  mp3::TrackInfo longName;
  ASSERT_TRUE(mp3::CheckValidity(write(std::string(70, 'n') + ".mp3", Audio()), longName));
  EXPECT_EQ(longName.wideTitle, std::u16string(64, u'n'));
  EXPECT_EQ(longName.title, std::string(70, 'n'));
}

TEST_F(ValidityCheck, RefusalsSayWhyAndLeaveTheRecordUntouched) {
  struct Case {
    const char* name;
    Bytes bytes;
    mp3::Refusal why;
  };
  const Case cases[] = {
      {"song.wav", Audio(), mp3::Refusal::kExtension},
      {"riff.mp3", Join({Ascii("RIFF"), Audio()}), mp3::Refusal::kRiff},
      {"noise.mp3", Bytes(4000, 0x20), mp3::Refusal::kNoFrame},
      {"fast.mp3", testsupport::MakeStream(testsupport::FrameSpec{1, 1, 13}, 10), mp3::Refusal::kBitRate},
      {"tiny.mp3", Bytes(10, 0xFF), mp3::Refusal::kUnreadable},
      // Acceptable audio, but a leading tag of a version that does not exist.
      {"future.mp3", Join({Ascii("ID3"), {5, 0, 0, 0, 0, 0, 0}, Audio()}), mp3::Refusal::kUnreadable},
  };
  for (const Case& c : cases) {
    mp3::TrackInfo info;
    info.title = "before";
    mp3::ValidityReport report;
    EXPECT_FALSE(mp3::CheckValidity(write(c.name, c.bytes), info, &report)) << c.name;
    EXPECT_FALSE(report.accepted);
    EXPECT_EQ(report.reason, c.why) << c.name;
    EXPECT_EQ(info.title, "before");
  }
}

TEST_F(ValidityCheck, LogsEachStepOfTheCheck) {
  debuglog::Configure(dir.path(), testsupport::UniqueName("pm-mp3-log"), dir.path());
  StartLog();
  mp3::TrackInfo info;
  mp3::CheckValidity(write("good.mp3", Audio()), info);
  mp3::CheckValidity(write("bad.wav", Audio()), info);
  debuglog::Flush();
  const std::string log = testsupport::ReadText(debuglog::LogPath());
  debuglog::Configure({}, {}, {});

  std::vector<std::string> steps;
  for (const char* step : {"CIPACWrap::CheckValidity(", "CMp3Analyzer::CheckValidity()",
                           "GetMp3Data() failed.", "~CMp3Analyzer::CheckValidity()"}) {
    for (size_t at = log.find(step); at != std::string::npos; at = log.find(step, at + 1)) {
      // "~CMp3Analyzer" also holds "CMp3Analyzer": count each line once.
      if (step[0] == 'C' && at > 0 && log[at - 1] == '~') continue;
      steps.push_back(std::to_string(at) + " " + step);
    }
  }
  std::sort(steps.begin(), steps.end(),
            [](const std::string& a, const std::string& b) { return std::stoul(a) < std::stoul(b); });
  std::vector<std::string> order;
  for (const std::string& s : steps) order.push_back(s.substr(s.find(' ') + 1));
  EXPECT_EQ(order, (std::vector<std::string>{"CIPACWrap::CheckValidity(", "CMp3Analyzer::CheckValidity()",
                                             "~CMp3Analyzer::CheckValidity()", "CIPACWrap::CheckValidity(",
                                             "CMp3Analyzer::CheckValidity()", "GetMp3Data() failed."}));
  EXPECT_NE(log.find("CIPACWrap::CheckValidity(" + sys::AnsiFromPath(dir / "good.mp3") + ")"),
            std::string::npos);
}

}  // namespace
