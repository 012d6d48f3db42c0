// The wrapper's events as the main window takes them: "RunningState" is
// posted to the notification window with the job's sequence number and the
// percentage; messages are shown in an OK box with the message module's
// text; the point of no return is handed to the progress window through a
// hook.
#pragma once

#include <windows.h>

#include <functional>

#include "device/wrap_events.h"

namespace device {

// The registered message id of "RunningState".
UINT RunningStateMessage();

class CWindowEvents : public IWrapEvents {
 public:
  void setWindow(HWND window) { window_ = window; }
  HWND window() const { return window_; }
  // Called on the transfer's thread with true at the point of no return and
  // with false when the transfer ends; it must not touch windows directly.
  void setPastCancelHook(std::function<void(bool past)> hook) { pastCancel_ = std::move(hook); }

  void RunningState(uint32_t sequence, uint32_t percent) override;
  void TransferPastCancel() override;
  void TransferEnded() override;
  void ShowMessage(uint32_t messageId) override;

 private:
  HWND window_ = nullptr;
  std::function<void(bool)> pastCancel_;
};

}  // namespace device
