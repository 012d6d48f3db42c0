// The connectivity thread: from the end of the main window's start until it
// closes, polls the player every 1.5 s while nothing else uses it (every
// 0.5 s it looks whether the busy flag is gone). When the player has
// disappeared it shows message 17921 once, from this thread, and posts
// "MediumDisconnected" so the main window closes.
#pragma once

#include <windows.h>

#include "app/connectivity_watch.h"
#include "app/transfer_flags.h"
#include "device/ipac_wrap.h"
#include "win32/unique_handle.h"

namespace app {

class CConnectivityThread {
 public:
  CConnectivityThread();
  ~CConnectivityThread();
  CConnectivityThread(const CConnectivityThread&) = delete;
  CConnectivityThread& operator=(const CConnectivityThread&) = delete;

  // False when the thread cannot be made (then nothing watches the player).
  bool Start(HWND mainWindow, device::CIPACWrap& device, TransferFlags& flags);
  // Wakes the thread from its sleep; the caller has set the stop flag.
  void Wake();
  // Waits for the thread to end. The caller sets the stop flag first.
  void Join();
  bool IsRunning() const;

 private:
  class Probe;
  static DWORD WINAPI ThreadProc(void* parameter);

  HWND mainWindow_ = nullptr;
  device::CIPACWrap* device_ = nullptr;
  TransferFlags* flags_ = nullptr;
  win::UniqueHandle wake_;
  win::UniqueHandle thread_;
};

}  // namespace app
