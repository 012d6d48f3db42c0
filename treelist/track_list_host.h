// What the album/track list asks of the window that owns it. The owner
// shows numbered texts from the message module, knows whether a transfer is
// running and keeps its own copy of the album order.
#pragma once

#include <string>

namespace treelist {

class TrackListHost {
 public:
  virtual ~TrackListHost() = default;
  // Shows message text `messageId` in a box with caption 4096.
  virtual void ShowMessage(unsigned messageId) = 0;
  // Shows a literal text (the Help key's note) in a box with caption 4096.
  virtual void ShowText(const std::string& text) = 0;
  // True while a transfer runs or its progress window is shown: no drags.
  virtual bool IsTransferRunning() const = 0;
  // Albums changed order on the player; the owner reads its album list again.
  virtual void OnAlbumOrderChanged() = 0;
  // The list turned out not to match the player; the owner reads it again.
  virtual void OnListOutOfStep() {}
};

}  // namespace treelist
