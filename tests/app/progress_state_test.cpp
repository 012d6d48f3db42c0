#include "app/progress_state.h"

#include <gtest/gtest.h>

#include "app/message_ids.h"

namespace {

using app::ProgressCancelAction;

TEST(ProgressState, ButtonFlagsChooseCaptionAndEnabling) {
  app::ProgressState s;
  s.setButtonFlags(0);
  EXPECT_EQ(s.buttonCaptionId(), msg::kCancelButton);
  EXPECT_TRUE(s.buttonEnabled());
  s.setButtonFlags(1);
  EXPECT_EQ(s.buttonCaptionId(), msg::kOkButton);
  EXPECT_TRUE(s.buttonEnabled());
  s.setButtonFlags(8);
  EXPECT_EQ(s.buttonCaptionId(), msg::kCancelButton);
  EXPECT_FALSE(s.buttonEnabled());
  s.setButtonFlags(9);
  EXPECT_EQ(s.buttonCaptionId(), msg::kOkButton);
  EXPECT_FALSE(s.buttonEnabled());
}

TEST(ProgressState, CancelDependsOnTheButtonAndOnWhetherATransferRuns) {
  app::ProgressState s;
  s.setButtonFlags(1);
  EXPECT_EQ(s.cancel(true), ProgressCancelAction::kHideWindow);
  EXPECT_TRUE(s.acceptsText());
  s.setButtonFlags(0);
  EXPECT_EQ(s.cancel(false), ProgressCancelAction::kEndIdle);
  EXPECT_TRUE(s.acceptsText());
  EXPECT_EQ(s.cancel(true), ProgressCancelAction::kCancelTransfer);
  EXPECT_FALSE(s.acceptsText());
}

TEST(ProgressState, ACancelFreezesTheTextOnlyUntilTheNextTransfer) {
  app::ProgressState s;
  s.setButtonFlags(0);
  ASSERT_EQ(s.cancel(true), ProgressCancelAction::kCancelTransfer);
  EXPECT_FALSE(s.acceptsText());
  s.setButtonFlags(1);  // the transfer ended: still frozen
  EXPECT_FALSE(s.acceptsText());
  s.prepareForTransfer();
  EXPECT_TRUE(s.acceptsText());
}

}  // namespace
