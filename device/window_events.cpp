#include "device/window_events.h"

#include "winui/message_text.h"

namespace device {

UINT RunningStateMessage() {
  static const UINT id = ::RegisterWindowMessageW(L"RunningState");
  return id;
}

void CWindowEvents::RunningState(uint32_t sequence, uint32_t percent) {
  if (window_) ::PostMessageW(window_, RunningStateMessage(), sequence, static_cast<LPARAM>(percent));
}

void CWindowEvents::TransferPastCancel() {
  if (pastCancel_) pastCancel_(true);
}

void CWindowEvents::TransferEnded() {
  if (pastCancel_) pastCancel_(false);
}

void CWindowEvents::ShowMessage(uint32_t messageId) { winui::ShowMessage(window_, messageId, MB_OK); }

}  // namespace device
