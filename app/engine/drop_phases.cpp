#include "app/engine/drop_phases.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/debug_log.h"
#include "app/message_ids.h"
#include "platform/codepage.h"
#include "platform/cost_meter.h"

namespace app::engine {
namespace {

bool DeviceGone(const DropContext& c) { return c.flags.deviceGone.load() != 0; }
bool CancelRequested(const DropContext& c) { return c.flags.cancel.load() != 0; }

// Every stop of a phase by the cancel flag: the folder lists go, the log
// says where it stopped, and the completion report will say "cancelled".
int StopCancelled(DropContext& c, const std::string& note) {
  c.lists.ClearFolderLists();
  LogText(note.c_str());
  c.flags.cancelledMark.store(1);
  return kPhaseCancelled;
}

// A cancel point. kPhaseFinished means "go on"; the device-gone flag wins
// over the cancel flag, because nothing may be reported once it is set.
int CheckStop(DropContext& c, const std::string& note) {
  if (DeviceGone(c)) return kPhaseDeviceGone;
  if (CancelRequested(c)) return StopCancelled(c, note);
  return kPhaseFinished;
}

std::string Format(const char* format, int value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

uint32_t AlbumEid(const DropContext& c) { return static_cast<uint32_t>(c.state.m_dwOleDropAlbumEID); }

// A new album the drop made: known to the album vector at once (so the next
// unique name sees it), then reported to the main window.
void AnnounceAlbum(DropContext& c, const std::u16string& name, uint32_t eid) {
  c.albums.AppendIfMissing(eid, name);
  c.events.OneFolderCreated(&name, eid);
}

int CreationFailure(HRESULT h) { return h == kNoMoreAlbumsResult ? kPhaseNoMoreAlbums : kPhaseFailed; }

// Creates an album inside its own transaction (optionally waiting for the
// device to finish before the transaction ends).
HRESULT CreateAlbumBracketed(DropContext& c, const std::u16string& name, bool wait, uint32_t& eid) {
  eid = 0;
  HRESULT h = c.device.StartTransaction();
  if (hr::Succeeded(h)) {
    h = c.device.CreateAlbum(name, eid);
    if (hr::Succeeded(h) && wait) h = c.device.WaitForCurrentOperation();
  }
  // Ended on every way out; a transaction that never opened answers S_FALSE.
  const HRESULT end = c.device.EndTransaction();
  if (hr::Succeeded(h) && hr::Failed(end)) h = end;
  if (hr::Succeeded(h) && eid == 0) h = hr::kUnexpected;  // the library gave no album
  return h;
}

enum class TrackLog { kTrackPhase, kFolderPhase };

// One job in its own transaction. kPhaseFinished when it is on the player
// (and reported as queue entry `index`).
int TransferJobBracketed(DropContext& c, const TransferJob& job, uint32_t albumEid, uint32_t placement,
                         size_t index, TrackLog style) {
  // The progress display reads the job it reports on from here, never
  // from the queue.
  c.lists.PublishCurrentJob(job);
  // The batch's next job is read while this one is written.
  c.device.ExpectSource(c.lists.QueuedSourcePath(index + 1));
  uint32_t newTrackEid = 0;
  HRESULT h = c.device.StartTransaction();
  if (style == TrackLog::kFolderPhase) LogText("\nStartTransaction");
  if (hr::Succeeded(h)) h = c.device.Transfer(job, albumEid, placement, newTrackEid);
  if (hr::Failed(h)) {
    LogText("\nOleDropTransferTracksProc(): Transfer failed!");
    c.device.EndTransaction();  // S_FALSE when Transfer already ended it
    return kPhaseFailed;
  }
  if (h == hr::kFalse) {
    if (DeviceGone(c)) return kPhaseDeviceGone;
    LogText("\nOleDropTransferTracksProc(): Transfer cancelled!");
    return kPhaseCancelled;
  }
  if (style == TrackLog::kFolderPhase) {
    DebugLog("\nTransfer track #%d under the folder, EndTransaction", static_cast<int>(index));
  }
  c.device.EndTransaction();
  c.events.OneTrackCompleted(CompletedTrack{index, newTrackEid, job});
  return kPhaseFinished;
}

void Pause(const DropContext& c) {
  costs::Scope meter(costs::Area::kWaits);
  if (c.batchPause.count() > 0) std::this_thread::sleep_for(c.batchPause);
}

// Track phase step 4: queued jobs from `first` on into the target album.
int TransferQueuedTracks(DropContext& c, size_t first) {
  const size_t n = c.lists.QueueSize();
  TransferJob job;
  for (size_t i = first; i < n; ++i) {
    if (int s = CheckStop(c, "\nTransfer Cancelled after tracks are transfered."); s != kPhaseFinished)
      return s;
    if (!c.lists.TakeQueuedJob(i, job)) break;
    if (int r = TransferJobBracketed(c, job, AlbumEid(c), kPlacementInto, i, TrackLog::kTrackPhase);
        r != kPhaseFinished) {
      return r;
    }
  }
  Pause(c);
  LogText("\r\nOleDropTransferTracksProc: Transfer succeeded!");
  c.lists.ClearQueue();
  return kPhaseFinished;
}

// Creates an album for the track phase and transfers the queue's first job
// into it; on success the album is the new drop target.
int StartTrackAlbum(DropContext& c, const std::u16string& name, bool clearListOnCancel) {
  uint32_t eid = 0;
  if (HRESULT h = CreateAlbumBracketed(c, name, false, eid); hr::Failed(h)) {
    DebugLog("\nOleDropTransferTracksProc(): Create folder failed! (0x%08X)", static_cast<unsigned>(h));
    return CreationFailure(h);
  }
  c.state.m_dwOleDropAlbumEID = eid;
  AnnounceAlbum(c, name, eid);
  TransferJob first;
  if (!c.lists.TakeQueuedJob(0, first)) return kPhaseFinished;
  const int r = TransferJobBracketed(c, first, eid, kPlacementInto, 0, TrackLog::kTrackPhase);
  if (r == kPhaseCancelled && clearListOnCancel) c.events.ClearListItems();
  return r;
}

}  // namespace

KVXFringeLock& SharedAlbumLock() {
  static KVXFringeLock lock;
  return lock;
}

std::string NarrowForLog(const std::u16string& text) {
  std::string narrow;
  if (!sys::FromUtf16(sys::kAnsiCodePage, text, narrow, sys::kNoLimit, '?')) return sys::Utf8FromUtf16(text);
  return narrow;
}

int64_t AlbumTrackCount(DropContext& context, int64_t albumEid) {
  if (albumEid < 1 || !context.albums.FindByEid(static_cast<uint32_t>(albumEid))) return -1;
  return context.device.AlbumTrackCount(static_cast<uint32_t>(albumEid));
}

int OleDropTransferTracksProc(DropContext& c) {
  const size_t n = c.lists.QueueSize();
  DebugLog("\nTotal single tracks to transfer = %d.", static_cast<int>(n));

  if (n > 0) {
    size_t first = 0;  // queue entries before this one are on the player already
    if (c.state.m_dwOleDropAlbumEID < 1) {
      if (int r = StartTrackAlbum(c, c.newAlbumName, true); r != kPhaseFinished) return r;
      c.state.m_sOleDropAlbumName = c.newAlbumName;
      first = 1;
    }

    // Keep the album at 999: what would go beyond waits in the pool. A count
    // of 0 is a real count; only a failed count (-1) leaves the queue whole.
    const int64_t count = AlbumTrackCount(c, c.state.m_dwOleDropAlbumEID);
    if (count < 0) {
      LogText("\nFailed to get album track count.");
    } else {
      const size_t remaining = n - first;
      const int64_t total = count + static_cast<int64_t>(remaining);
      DebugLog("\nnTotal = %d", static_cast<int>(total));
      if (total > static_cast<int64_t>(kMaxTracksPerBatch)) {
        const size_t excess = static_cast<size_t>(total - static_cast<int64_t>(kMaxTracksPerBatch));
        c.lists.MoveQueueTailToPool(std::min(excess, remaining));
      }
    }
    if (int r = TransferQueuedTracks(c, first); r != kPhaseFinished) return r;
  }

  if (int s = CheckStop(c, "\nTransfer Cancelled after tracks are transfered."); s != kPhaseFinished)
    return s;

  while (c.lists.PoolSize() > 0) {
    ++c.state.pooledAlbumCounter;
    c.lists.SchedulePooledJobs();
    const std::u16string base = c.state.m_sOleDropAlbumName;
    const std::string counter = " ( " + std::to_string(c.state.pooledAlbumCounter) + " )";
    const std::u16string text = base + std::u16string(counter.begin(), counter.end());
    std::u16string name = text;
    c.albums.GetUniqueAlbumName(name);
    DebugLog("\nNew Folder Name = %s, old m_dwOleDropAlbumEID=%d", NarrowForLog(name).c_str(),
             static_cast<int>(c.state.m_dwOleDropAlbumEID));
    if (int r = StartTrackAlbum(c, name, false); r != kPhaseFinished) return r;
    c.state.m_sOleDropAlbumName = text;
    DebugLog("\nCreate Folder Succeeded! new m_dwOleDropAlbumEID = %d",
             static_cast<int>(c.state.m_dwOleDropAlbumEID));
    if (int s = CheckStop(c, "\nTransfer Cancelled after folder is created."); s != kPhaseFinished) return s;
    if (int r = TransferQueuedTracks(c, 1); r != kPhaseFinished) return r;
    if (int s = CheckStop(c, "\nTransfer Cancelled after pooled tracks are transfered.");
        s != kPhaseFinished) {
      return s;
    }
  }
  return kPhaseFinished;
}

int OleDropTransferFolderProc(DropContext& c) {
  // One item at a time, each taken out of the list as it moves on: a copy
  // would hold every dropped file's record twice while the phase runs.
  const size_t n = c.lists.FolderItemCount();
  DropFolderItem item;
  DebugLog("\nTotal Tracks under any folder to transfer = %d.", static_cast<int>(n));

  for (size_t j = 0; j < n; ++j) {
    if (int s = CheckStop(c, Format("\nTransfer Cancelled after folder-item #%d are about to transfer.",
                                    static_cast<int>(j)));
        s != kPhaseFinished) {
      return s;
    }
    if (!c.lists.TakeFolderItem(j, item)) break;

    uint32_t eid = 0;
    {
      KVXFringeLockGuard hold(c.albumLock);
      DebugLog("\nj=%d, pDropFolderItem->m_folder=%s", static_cast<int>(j),
               NarrowForLog(item.m_folder).c_str());
      std::u16string name = item.m_folder;
      c.albums.GetUniqueAlbumName(name);
      if (HRESULT h = CreateAlbumBracketed(c, name, true, eid); hr::Failed(h)) {
        if (h == kNoMoreAlbumsResult) return kPhaseNoMoreAlbums;
        LogText("\nOleDropTransferFolderProc(): Created Folder failed!");
        return kPhaseFailed;
      }
      AnnounceAlbum(c, name, eid);
      c.state.m_sOleDropAlbumName = name;
    }

    if (int s = CheckStop(c, "\nTransfer Cancelled after creating folder."); s != kPhaseFinished) return s;
    c.state.m_dwOleDropAlbumEID = eid;

    // The folder's items are consecutive; its first 999 form this batch,
    // the rest wait in the pool for albums of their own.
    const size_t folderStart = j;
    const std::u16string folder = item.m_folder;
    c.lists.AppendToQueue(std::move(item.job));
    while (j + 1 < n && c.lists.FolderItemIn(j + 1, folder) && c.lists.TakeFolderItem(j + 1, item)) {
      ++j;
      if (j - folderStart < kMaxTracksPerBatch) {
        c.lists.AppendToQueue(std::move(item.job));
      } else {
        c.lists.AppendToPool(std::move(item.job));
      }
    }

    if (int s = CheckStop(c, Format("\nTransfer Cancelled after tracks in folder-item #%d are added but not "
                                    "transfered. Clear them.",
                                    static_cast<int>(j)));
        s != kPhaseFinished) {
      return s;
    }

    const size_t batch = c.lists.QueueSize();
    DebugLog("\nTotal Jobs to transfer under the folder = %d", static_cast<int>(batch));
    TransferJob job;
    for (size_t k = 0; k < batch; ++k) {
      KVXFringeLockGuard hold(c.albumLock);
      if (int s = CheckStop(c, Format("\nTransfer Cancelled after tracks in folder-item #%d are transfered.",
                                      static_cast<int>(k)));
          s != kPhaseFinished) {
        return s;
      }
      if (!c.lists.TakeQueuedJob(k, job)) break;
      if (int r = TransferJobBracketed(c, job, eid, kPlacementInto, k, TrackLog::kFolderPhase);
          r != kPhaseFinished) {
        return r;
      }
    }

    Pause(c);
    c.lists.ClearQueue();
    if (int s = CheckStop(c, "\nTransfer Cancelled after transfering this batch of tracks.");
        s != kPhaseFinished) {
      return s;
    }

    while (c.lists.PoolSize() > 0) {
      c.lists.SchedulePooledJobs();
      std::u16string name = c.state.m_sOleDropAlbumName;
      c.albums.GetUniqueAlbumName(name);
      uint32_t pooledEid = 0;
      {
        KVXFringeLockGuard hold(c.albumLock);
        if (HRESULT h = CreateAlbumBracketed(c, name, true, pooledEid); hr::Failed(h)) {
          if (h == kNoMoreAlbumsResult) return kPhaseNoMoreAlbums;
          LogText("\nOleDropTransferFolderProc(): Created Folder failed!");
          return kPhaseFailed;
        }
        c.state.m_dwOleDropAlbumEID = pooledEid;
        AnnounceAlbum(c, name, pooledEid);
      }
      if (int s = CheckStop(c, "\nTransfer Cancelled after creating the folder for the pooled jobs.");
          s != kPhaseFinished) {
        return s;
      }
      const size_t pooled = c.lists.QueueSize();
      for (size_t k = 0; k < pooled; ++k) {
        const uint32_t placement = k == 0 ? kPlacementAfter : kPlacementInto;
        if (!c.lists.TakeQueuedJob(k, job)) break;
        if (int r = TransferJobBracketed(c, job, pooledEid, placement, k, TrackLog::kTrackPhase);
            r != kPhaseFinished) {
          return r;
        }
      }
      Pause(c);
      if (int s = CheckStop(c, "\nTransfer Cancelled after transfering pooled jobs."); s != kPhaseFinished)
        return s;
      c.lists.ClearQueue();
    }
  }

  c.lists.ClearFolderLists();
  return kPhaseFinished;
}

int RunDrop(DropContext& c) {
  int result = OleDropTransferTracksProc(c);
  if (result == kPhaseDeviceGone || DeviceGone(c)) return kPhaseDeviceGone;
  if (result == kPhaseFinished) {
    result = OleDropTransferFolderProc(c);
    if (result == kPhaseDeviceGone || DeviceGone(c)) return kPhaseDeviceGone;
  }

  switch (result) {
    case kPhaseCancelled:
      // Also when a transfer itself was abandoned, so the user is told the
      // drop did not finish.
      c.lists.ClearFolderLists();
      c.flags.cancelledMark.store(1);
      break;
    case kPhaseFailed:
      c.events.ShowMessage(msg::kTransferStopped);
      break;
    case kPhaseNoMoreAlbums:
      c.events.ShowMessage(msg::kNoMoreAlbums);
      break;
    default:
      break;
  }
  if (DeviceGone(c)) return kPhaseDeviceGone;
  c.events.TransferCompleted();
  return result;
}

}  // namespace app::engine
