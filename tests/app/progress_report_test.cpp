#include "app/progress_report.h"

#include <gtest/gtest.h>

namespace {

app::RunningStateInput Report(int32_t sequence, uint32_t percent, size_t queueSize) {
  app::RunningStateInput in;
  in.sequence = sequence;
  in.percent = percent;
  in.queueSize = queueSize;
  in.title = u"Song";
  in.albumName = u"Rock";
  return in;
}

TEST(ProgressReport, TitleCutAfterTwelveCharacters) {
  EXPECT_EQ(app::ShortTitle(u"ABCDEFGHIJKL"), u"ABCDEFGHIJKL");
  EXPECT_EQ(app::ShortTitle(u"ABCDEFGHIJKLM"), u"ABCDEFGHIJKL...");
  EXPECT_EQ(app::ShortTitle(u""), u"");
}

TEST(ProgressReport, AlbumOfTwentyFourShownWholeTwentyFiveCut) {
  const std::u16string of24 = u"ABCDEFGHIJKLMNOPQRSTUVWX";
  ASSERT_EQ(of24.size(), 24u);
  EXPECT_EQ(app::ShortAlbumName(of24), of24);
  EXPECT_EQ(app::ShortAlbumName(of24 + u"Y"), u"ABCDEFGH...");
}

TEST(ProgressReport, QueuedJobShowsPositionAlbumTitleAndPercent) {
  app::RunningStateInput in = Report(4, 40, 10);
  in.title = u"A Very Long Title";
  const auto view = app::DescribeRunningState(in);
  EXPECT_EQ(view.action, app::RunningStateAction::kProgress);
  EXPECT_EQ(view.progressText, u"5 / 10  Rock\nA Very Long ...\n40 %");
  EXPECT_EQ(view.statusText, u"5 / 10  Rock  40 %");
}

TEST(ProgressReport, NegativeSequenceAndEmptyQueueAreIgnored) {
  EXPECT_EQ(app::DescribeRunningState(Report(-1, 40, 10)).action, app::RunningStateAction::kIgnore);
  EXPECT_EQ(app::DescribeRunningState(Report(-1, 100, 10)).action, app::RunningStateAction::kIgnore);
  EXPECT_EQ(app::DescribeRunningState(Report(0, 40, 0)).action, app::RunningStateAction::kIgnore);
}

TEST(ProgressReport, HundredPercentIsTheFinishingStepEvenForAPooledJob) {
  EXPECT_EQ(app::DescribeRunningState(Report(0, 100, 10)).action, app::RunningStateAction::kFinishing);
  EXPECT_EQ(app::DescribeRunningState(Report(1500, 100, 999)).action, app::RunningStateAction::kFinishing);
}

TEST(ProgressReport, SequenceAtOrBeyondTheQueueShowsTracksDoneNotAQueueEntry) {
  app::RunningStateInput in = Report(999, 70, 999);
  in.title = u"must not appear";
  in.tracksDone = 1234;
  const auto view = app::DescribeRunningState(in);
  EXPECT_EQ(view.action, app::RunningStateAction::kProgress);
  EXPECT_EQ(view.progressText, u"1234  Rock\n\n70 %");
  EXPECT_EQ(view.statusText, u"1234  Rock  70 %");
  EXPECT_FALSE(app::SequenceInQueue(999, 999));
  EXPECT_TRUE(app::SequenceInQueue(998, 999));
  EXPECT_FALSE(app::SequenceInQueue(-5, 999));
}

}  // namespace
