// The connectivity thread's loop without the thread: polls the player while
// nothing else uses it and reports its disappearance once. The Win32 side
// (app/connectivity_thread.h) supplies the poll, the sleep and the report.
#pragma once

#include <cstdint>

#include "app/transfer_flags.h"

namespace app {

constexpr uint32_t kBusyPollMs = 500;
constexpr uint32_t kIdlePollMs = 1500;

class ConnectivityProbe {
 public:
  virtual ~ConnectivityProbe() = default;
  // True while the player answers; false (or an exception) when it is gone.
  virtual bool IsConnected() = 0;
  virtual void Sleep(uint32_t ms) = 0;
  // The player disappeared: tell the user and close the program. Called at
  // most once, after the device-gone flag is set.
  virtual void ReportDisconnected() = 0;
};

// Runs until the stop flag or the device-gone flag is set, or the player
// disappears. While the busy flag is set the player is not polled: a
// listing or a transfer uses it, and notices a failure itself.
void WatchConnectivity(TransferFlags& flags, ConnectivityProbe& probe);

}  // namespace app
