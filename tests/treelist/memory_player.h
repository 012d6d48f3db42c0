// An in-memory player behind the TrackListDevice interface. It keeps
// albums and tracks by identifier in display order and enforces what the
// player does: moves name existing items of one kind, never place items by
// one of themselves, put tracks into albums only, and never leave an album
// with more than 999 tracks. A refused call changes nothing.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "treelist/track_list_device.h"

namespace treelisttest {

class MemoryPlayer : public treelist::TrackListDevice {
 public:
  using Eid = treelist::Eid;

  struct Album {
    Eid eid = 0;
    std::string name;
    std::vector<Eid> tracks;
  };

  Eid addAlbum(const std::string& name);
  Eid addTrack(Eid album, const std::string& title);
  // Puts a track at a position of an album (the list does not know of it).
  Eid insertTrack(Eid album, size_t position, const std::string& title);

  HRESULT MoveItems(Eid reference, treelist::Placement placement, const std::vector<Eid>& items) override;
  HRESULT GetTrackIdAt(Eid album, uint32_t index, Eid& track) override;
  HRESULT GetTrackTitle(Eid track, std::string& title) override;
  HRESULT DeleteTracks(const std::vector<Eid>& tracks) override;
  HRESULT DeleteAlbums(const std::vector<Eid>& albums) override;

  std::vector<Eid> albumOrder() const;
  // Titles of an album's tracks in order, for comparing with the list.
  std::vector<std::string> trackTitles(Eid album) const;
  const std::string& title(Eid track) const { return titles_.at(track); }
  const Album* album(Eid eid) const;

  // Makes the next call of MoveItems fail with this result.
  HRESULT failNextMove = 0;
  int moveCalls = 0;
  int idLookups = 0;
  Eid lastReference = 0;
  treelist::Placement lastPlacement = treelist::Placement::kBefore;
  std::vector<Eid> lastItems;

 private:
  Album* findAlbum(Eid eid);
  // Album holding a track, null when the track is unknown.
  Album* albumOf(Eid track);

  std::vector<Album> albums_;
  std::map<Eid, std::string> titles_;
  Eid next_ = 100;
};

}  // namespace treelisttest
