// The flags that the track manager's threads share while a transfer runs:
// each is written by one side and polled by the other, so each is a single
// atomic 32-bit word and no lock is needed.
#pragma once

#include <atomic>
#include <cstdint>

namespace app {

struct TransferFlags {
  std::atomic<int32_t> busy{0};              // a listing or a drop is running
  std::atomic<int32_t> cancel{0};            // the user asked to stop the drop
  std::atomic<int32_t> deviceGone{0};        // the player disappeared; never cleared
  std::atomic<int32_t> connectivityStop{0};  // the connectivity thread is to end
  std::atomic<int32_t> cancelledMark{0};     // the drop ended by a cancel, for the final report
  // The running track is past the point of no return: set by the transfer's
  // thread before it stores the track's properties, cleared when that
  // transfer ends. A Cancel pressed meanwhile is refused.
  std::atomic<int32_t> pastCancel{0};
};

// The one set of the process.
TransferFlags& SharedTransferFlags();

}  // namespace app
