#include "app/connectivity_watch.h"

#include "app/debug_log.h"

namespace app {

void WatchConnectivity(TransferFlags& flags, ConnectivityProbe& probe) {
  while (flags.connectivityStop.load() == 0 && flags.deviceGone.load() == 0) {
    if (flags.busy.load() != 0) {
      probe.Sleep(kBusyPollMs);
      continue;
    }
    bool connected = false;
    try {
      connected = probe.IsConnected();
    } catch (...) {
      connected = false;
    }
    if (!connected) {
      // A close that raced with the poll is not a disconnection.
      if (flags.connectivityStop.load() != 0) return;
      DebugLog("\nCheckDeviceConnectivityProc disconnected!");
      flags.deviceGone.store(1);
      probe.ReportDisconnected();
      return;
    }
    probe.Sleep(kIdlePollMs);
  }
}

}  // namespace app
