// What the album/track list needs from the player: moving and erasing
// albums and tracks by device identifier, and finding a track's identifier
// by its position. The device wrapper implements it; the list never reaches
// the player any other way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/hresult.h"
#include "treelist/track_records.h"

namespace treelist {

// Placement codes of a move, relative to the reference item.
enum class Placement : uint32_t {
  kBefore = 1,
  kAfter = 2,
  kInto = 4,  // the reference is an album; the items go after its last track
};

// Most tracks one album may hold.
constexpr int kMaxTracksPerAlbum = 999;

// The list and the player disagree about a track (the track at a row's
// position is another one): nothing was done, and the list is to be read
// again from the player. E_CHANGED_STATE.
constexpr HRESULT kListOutOfStep = hr::Make(0x8000000Cu);

class TrackListDevice {
 public:
  virtual ~TrackListDevice() = default;
  // Moves the items, in this order, to the place given by reference and
  // placement. Items are all albums or all tracks; the reference is not
  // one of them. kOk, or a failure with nothing moved.
  virtual HRESULT MoveItems(Eid reference, Placement placement, const std::vector<Eid>& items) = 0;
  // Identifier of the track at a zero-based position in an album; kFail
  // when the position is not below the album's track count.
  virtual HRESULT GetTrackIdAt(Eid album, uint32_t index, Eid& track) = 0;
  // A track's title as a listing of the player shows it in the list.
  virtual HRESULT GetTrackTitle(Eid track, std::string& title) = 0;
  // Erases tracks, and albums with all their tracks.
  virtual HRESULT DeleteTracks(const std::vector<Eid>& tracks) = 0;
  virtual HRESULT DeleteAlbums(const std::vector<Eid>& albums) = 0;
};

}  // namespace treelist
