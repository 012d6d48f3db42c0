#include "app/progress_state.h"

#include "app/message_ids.h"

namespace app {

unsigned ProgressState::buttonCaptionId() const {
  return buttonCloses() ? msg::kOkButton : msg::kCancelButton;
}

ProgressCancelAction ProgressState::cancel(bool transferRunning) {
  // Decided by the button's state, not by comparing its caption with a
  // text: without the message module both captions are empty and would
  // compare equal, and Cancel would never cancel.
  if (buttonCloses()) return ProgressCancelAction::kHideWindow;
  if (transferRunning) {
    frozen_ = true;
    return ProgressCancelAction::kCancelTransfer;
  }
  return ProgressCancelAction::kEndIdle;
}

}  // namespace app
