// Why a file is refused, from the analyser's own check of files built byte
// by byte to the line the box at the end of a drop shows, and the box's
// list: ten names at most, then how many more.
#include "app/engine/refusal_report.h"

#include <gtest/gtest.h>

#include "app/engine/refusal_text.h"
#include "mp3/refusal_cause.h"
#include "platform/codepage.h"
#include "tests/support/mpeg_stream_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using app::engine::EnglishRefusalText;
using app::engine::RefusalText;
using mp3::RefusalCause;
using mp3::RefusalReason;

class RefusalCauses : public ::testing::Test {
 protected:
  // The English line for what the analyser finds in `bytes` stored as `name`.
  std::u16string causeOf(const char* name, const std::vector<uint8_t>& bytes) {
    const sys::Path path = dir.path() / name;
    testsupport::WriteFile(path, bytes);
    return causeOfPath(path);
  }
  std::u16string causeOfPath(const sys::Path& path) {
    mp3::TrackInfo info;
    mp3::ValidityReport report;
    if (mp3::CheckValidity(path, info, &report)) return u"accepted";
    return RefusalText(mp3::ReasonOf(report), EnglishRefusalText);
  }

  testsupport::TempDir dir;
};

TEST_F(RefusalCauses, EachRefusalSaysWhyInTheWordsTheUserSees) {
  using testsupport::FrameLayout;
  using testsupport::MakeStream;
  const auto good = MakeStream(FrameLayout(1, 3, 9), 20);  // 128 kbit/s
  EXPECT_EQ(causeOf("good.mp3", good), u"accepted");
  EXPECT_EQ(causeOf("good.txt", good), u"not an MP3 file by its name");
  // MPEG-2.5 layer III at 8 kbit/s: real audio, too slow for the player.
  EXPECT_EQ(causeOf("slow.mp3", MakeStream(FrameLayout(3, 3, 1), 20)),
            u"bit rate outside 32-320 kbit/s: 8 kbit/s");
  // One 384 kbit/s layer II frame among 128 kbit/s ones names the fast one.
  EXPECT_EQ(causeOf("fast.mp3", testsupport::Concat({good, MakeStream(FrameLayout(1, 2, 14), 1), good})),
            u"bit rate outside 32-320 kbit/s: 384 kbit/s");
  std::vector<uint8_t> riff = {'R', 'I', 'F', 'F'};
  testsupport::Append(riff, good);
  EXPECT_EQ(causeOf("wrapped.mp3", riff), u"not MPEG audio");
  EXPECT_EQ(causeOf("noise.mp3", std::vector<uint8_t>(4000, 0x20)), u"not MPEG audio");
  // The system's own reason follows "cannot be read" when it gave one.
  const std::u16string missing = causeOfPath(dir.path() / "gone.mp3");
  EXPECT_EQ(missing.rfind(u"cannot be read: ", 0), 0u) << sys::Utf8FromUtf16(missing);
  EXPECT_GT(missing.size(), std::u16string(u"cannot be read: ").size());
  EXPECT_EQ(RefusalText(RefusalReason{RefusalCause::kUnreadable}, EnglishRefusalText), u"cannot be read");
}

// The texts come from the source the caller names: the window's message
// module in the program, here a stand-in that shows which message was used.
std::u16string Numbered(unsigned id) {
  const std::string s = "<" + std::to_string(id) + ">";
  return std::u16string(s.begin(), s.end());
}

TEST(RefusalReport, ListsTenFilesThenCountsTheRest) {
  std::vector<app::engine::RefusedFile> files;
  EXPECT_EQ(app::engine::RefusalReport(u"Skipped.", files, Numbered), u"Skipped.");

  files.push_back({u"C:\\music\\a.txt", RefusalReason{RefusalCause::kNotMp3Name}});
  files.push_back({u"C:\\music\\low.mp3", RefusalReason{RefusalCause::kBitRate, 8000}});
  EXPECT_EQ(app::engine::RefusalReport(u"Skipped.", files, Numbered),
            u"Skipped.\n\na.txt \u2014 <18688>\nlow.mp3 \u2014 <18691>: 8 kbit/s");

  files.clear();
  for (int i = 0; i < 25; ++i) {
    const std::string name = "C:\\d\\f" + std::to_string(i) + ".wav";
    files.push_back({std::u16string(name.begin(), name.end()), RefusalReason{RefusalCause::kNotMp3Name}});
  }
  const std::u16string report = app::engine::RefusalReport(u"Skipped.", files, EnglishRefusalText);
  size_t lines = 0;
  for (char16_t c : report) lines += c == u'\n';
  EXPECT_EQ(lines, 12u);  // blank line, ten names, the count
  EXPECT_NE(report.find(u"\nf9.wav \u2014 not an MP3 file by its name\n"), std::u16string::npos);
  EXPECT_EQ(report.find(u"f10.wav"), std::u16string::npos);
  EXPECT_EQ(report.substr(report.rfind(u'\n') + 1), u"\u2026 and 15 more");
}

}  // namespace
