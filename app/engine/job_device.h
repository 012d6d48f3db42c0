// The device operations the drop phases need, so that the phases run the
// same against the device wrapper (drop_device_win32.h) and against a
// recording device in tests.
#pragma once

#include <cstdint>
#include <string>

#include "app/engine/job_lists.h"
#include "common/hresult.h"

namespace app::engine {

// Placement codes of a new track: append to the album, or the one case
// (first job of a folder's pooled batch) that places it after the reference.
constexpr uint32_t kPlacementAfter = 2;
constexpr uint32_t kPlacementInto = 4;

// The library's result when the player can hold no further album.
constexpr HRESULT kNoMoreAlbumsResult = static_cast<HRESULT>(0x8000000AL);

class JobDevice {
 public:
  virtual ~JobDevice() = default;
  virtual HRESULT StartTransaction() = 0;
  // S_FALSE when no transaction of this thread is open.
  virtual HRESULT EndTransaction() = 0;
  // Inside the caller's transaction.
  virtual HRESULT CreateAlbum(const std::u16string& name, uint32_t& eid) = 0;
  virtual HRESULT WaitForCurrentOperation() = 0;
  // Writes one job as a new track, inside the caller's transaction: 0 done
  // (the caller ends the transaction), 1 cancelled or device gone, negative
  // on failure. Every result but 0 has already ended the transaction.
  // newTrackEid: the new track's EID on success, else 0.
  virtual HRESULT Transfer(const TransferJob& job, uint32_t albumEid, uint32_t placement,
                           uint32_t& newTrackEid) = 0;
  // A coming Transfer will read source: a device may open it ahead. Only a
  // hint: the transfer of any job works without it.
  virtual void ExpectSource(const sys::Path& source) { (void)source; }
  // The album's track count on the player, -1 on failure. Bracketed.
  virtual int64_t AlbumTrackCount(uint32_t albumEid) = 0;
};

}  // namespace app::engine
