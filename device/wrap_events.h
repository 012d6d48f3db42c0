// What the device wrapper tells the rest of the program: transfer progress,
// the point from which a transfer can no longer be cancelled, and messages
// for the user. The main window's implementation posts registered messages
// and shows boxes on its own thread; tests record instead.
#pragma once

#include <cstdint>

namespace device {

// Message shown when the device-access library cannot be bound.
constexpr uint32_t kMessageLibraryUnavailable = 18435;

class IWrapEvents {
 public:
  virtual ~IWrapEvents() = default;
  // "RunningState": the transfer of job `sequence` reached `percent`
  // (10 after the opening header, up to 70 through the audio, 80 after the
  // closing header, 100 when the track is committed).
  virtual void RunningState(uint32_t sequence, uint32_t percent) = 0;
  // The transfer passed the point of no return: the progress window's
  // Cancel button goes to its disabled state (flags 8).
  virtual void TransferPastCancel() = 0;
  // The transfer is over, whatever its result: Cancel applies to the drop
  // again.
  virtual void TransferEnded() {}
  // A numbered message for the user. Called only on the thread that called
  // Initialize, never from a transfer.
  virtual void ShowMessage(uint32_t messageId) = 0;
};

}  // namespace device
