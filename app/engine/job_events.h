// What the drop phases report while they run. The Win32 side posts the
// registered messages to the main window (drop_events_win32.h); tests record.
// Nothing here may block on the UI thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/engine/job_lists.h"

namespace app::engine {

// A job the player now holds, with all the window needs to show it: the
// report must not send the window to the queue, which the drop thread
// empties or fills with the next batch while the report waits.
struct CompletedTrack {
  size_t index = 0;  // the job's place in its batch
  uint32_t eid = 0;  // the new track's EID on the player (0: not known)
  TransferJob job;   // texts, play time and source of the track
};

// "OneFolderCreated" without a name: the album could not be created, or the
// player holds no more albums.
constexpr int64_t kNoMoreAlbumsEid = -2;     // message 17666
constexpr int64_t kAlbumNotCreatedEid = -3;  // message 17664

class JobEvents {
 public:
  virtual ~JobEvents() = default;
  // An album was created (name set, its EID), or could not be (null name,
  // kNoMoreAlbumsEid or kAlbumNotCreatedEid). The album is already in the
  // album vector when this is called.
  virtual void OneFolderCreated(const std::u16string* name, int64_t eid) = 0;
  // A queued job is on the player.
  virtual void OneTrackCompleted(const CompletedTrack& track) = 0;
  // The list should drop its items (a cancelled first transfer).
  virtual void ClearListItems() = 0;
  // A numbered message for the user (17152, 17666 at the end of a drop).
  virtual void ShowMessage(unsigned messageId) = 0;
  // The drop is over.
  virtual void TransferCompleted() = 0;
};

}  // namespace app::engine
