// The state of the transfer progress window, apart from its window: what its
// one button says and does, and whether its text may still change.
//
// Button flags (SetButtonState): bit 0 set makes the button the closing
// button (caption message 16384), clear the cancel button (16385); bit 3
// disables it. The flags in use are 0 (a transfer runs and can be
// cancelled), 1 (finished: the button closes the window) and 8 (the track is
// past the point where it can be cancelled).
#pragma once

#include <cstdint>

namespace app {

constexpr uint32_t kProgressButtonCloses = 0x1;
constexpr uint32_t kProgressButtonDisabled = 0x8;

// What the window's Cancel (its button or Esc) has to do.
enum class ProgressCancelAction {
  kHideWindow,      // the button is the closing button: hide, give the main window back
  kCancelTransfer,  // a transfer runs: ask it to stop (text frozen from now on)
  kEndIdle,         // nothing runs: just report the drop as completed
};

class ProgressState {
 public:
  void setButtonFlags(uint32_t flags) { flags_ = flags; }
  uint32_t buttonFlags() const { return flags_; }
  bool buttonCloses() const { return (flags_ & kProgressButtonCloses) != 0; }
  bool buttonEnabled() const { return (flags_ & kProgressButtonDisabled) == 0; }
  // The message number of the button's caption.
  unsigned buttonCaptionId() const;

  // Text updates are ignored from a cancel until the window is prepared for
  // the next transfer.
  bool acceptsText() const { return !frozen_; }
  // A fresh start for a new transfer: text accepted again.
  void prepareForTransfer() { frozen_ = false; }

  // Decides the Cancel; a cancelled transfer freezes the text so that late
  // progress reports do not overwrite the "cancelling" note.
  ProgressCancelAction cancel(bool transferRunning);

 private:
  uint32_t flags_ = 0;
  bool frozen_ = false;
};

}  // namespace app
