// The drop thread's work: the track phase (single dropped files, already in
// the transfer queue), the folder phase (one album per dropped folder) and
// RunDrop, which runs both and reports the end. Portable: the device and the
// reports go through JobDevice and JobEvents.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "app/engine/album_vector.h"
#include "app/engine/drop_state.h"
#include "app/engine/job_device.h"
#include "app/engine/job_events.h"
#include "app/engine/job_lists.h"
#include "app/transfer_flags.h"
#include "container/fringe_lock.h"

namespace app::engine {

// Phase results.
enum PhaseResult : int {
  kPhaseFinished = 1,      // everything done (or nothing to do)
  kPhaseCancelled = 2,     // the user cancelled, or a transfer was abandoned
  kPhaseFailed = 3,        // a transfer or album creation failed (message 17152)
  kPhaseNoMoreAlbums = 4,  // the player refused another album (message 17666)
  kPhaseDeviceGone = 5,    // the player disappeared: end without a word
};

struct DropContext {
  JobDevice& device;
  JobEvents& events;
  JobLists& lists;
  AlbumVector& albums;
  DropState& state;
  TransferFlags& flags;
  // Held by the folder phase around each album creation and each track, so
  // that the main window's list rebuild does not interleave with it.
  KVXFringeLock& albumLock;
  // Name of the album made when single files are dropped where there is
  // no album (message 4101).
  std::u16string newAlbumName;
  // The pause after each batch (300 ms) lets the list catch up with the
  // posted reports; tests shorten it.
  std::chrono::milliseconds batchPause{300};
};

// The album lock of the process.
KVXFringeLock& SharedAlbumLock();

// The target album's track count: -1 when the album vector does not hold
// the EID or the device cannot count.
int64_t AlbumTrackCount(DropContext& context, int64_t albumEid);

int OleDropTransferTracksProc(DropContext& context);
int OleDropTransferFolderProc(DropContext& context);

// The drop thread's body: track phase, then folder phase, the end-of-drop
// messages and "TransferCompleted" (nothing at all once the device is gone).
// Returns the last phase's result.
int RunDrop(DropContext& context);

// For logs: a UTF-16 name as the ANSI code page shows it.
std::string NarrowForLog(const std::u16string& text);

}  // namespace app::engine
