#include "tests/treelist/memory_player.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace treelisttest {

using treelist::Placement;

MemoryPlayer::Eid MemoryPlayer::addAlbum(const std::string& name) {
  albums_.push_back({next_, name, {}});
  return next_++;
}

MemoryPlayer::Eid MemoryPlayer::addTrack(Eid album, const std::string& title) {
  Album* a = findAlbum(album);
  if (!a) return 0;
  a->tracks.push_back(next_);
  titles_[next_] = title;
  return next_++;
}

MemoryPlayer::Eid MemoryPlayer::insertTrack(Eid album, size_t position, const std::string& title) {
  Album* a = findAlbum(album);
  if (!a) return 0;
  a->tracks.insert(a->tracks.begin() + static_cast<std::ptrdiff_t>(std::min(position, a->tracks.size())),
                   next_);
  titles_[next_] = title;
  return next_++;
}

HRESULT MemoryPlayer::GetTrackTitle(Eid track, std::string& title) {
  title.clear();
  auto it = titles_.find(track);
  if (it == titles_.end() || !albumOf(track)) return hr::kInvalidArg;
  title = treelist::LoadedText(it->second);
  return hr::kOk;
}

MemoryPlayer::Album* MemoryPlayer::findAlbum(Eid eid) {
  for (Album& a : albums_)
    if (a.eid == eid) return &a;
  return nullptr;
}

const MemoryPlayer::Album* MemoryPlayer::album(Eid eid) const {
  for (const Album& a : albums_)
    if (a.eid == eid) return &a;
  return nullptr;
}

MemoryPlayer::Album* MemoryPlayer::albumOf(Eid track) {
  for (Album& a : albums_)
    if (std::find(a.tracks.begin(), a.tracks.end(), track) != a.tracks.end()) return &a;
  return nullptr;
}

HRESULT MemoryPlayer::MoveItems(Eid reference, Placement placement, const std::vector<Eid>& items) {
  ++moveCalls;
  lastReference = reference;
  lastPlacement = placement;
  lastItems = items;
  if (failNextMove) {
    HRESULT result = failNextMove;
    failNextMove = 0;
    return result;
  }
  if (items.empty() || std::set<Eid>(items.begin(), items.end()).size() != items.size())
    return hr::kInvalidArg;
  if (std::find(items.begin(), items.end(), reference) != items.end()) return hr::kInvalidArg;
  // One index of the tracks keeps a big move linear in the player's size.
  std::unordered_map<Eid, Album*> owners;
  for (Album& a : albums_)
    for (Eid t : a.tracks) owners[t] = &a;
  auto ownerOf = [&](Eid track) -> Album* {
    auto it = owners.find(track);
    return it == owners.end() ? nullptr : it->second;
  };
  bool albums = findAlbum(items.front()) != nullptr;
  for (Eid item : items)
    if (albums ? !findAlbum(item) : !ownerOf(item)) return hr::kInvalidArg;

  if (albums) {
    if (placement == Placement::kInto || !findAlbum(reference)) return hr::kInvalidArg;
    std::vector<Album> moving;
    for (Eid item : items) moving.push_back(*findAlbum(item));
    std::vector<Album> rest;
    for (const Album& a : albums_)
      if (std::find(items.begin(), items.end(), a.eid) == items.end()) rest.push_back(a);
    auto at = std::find_if(rest.begin(), rest.end(), [&](const Album& a) { return a.eid == reference; });
    if (placement == Placement::kAfter) ++at;
    rest.insert(at, moving.begin(), moving.end());
    albums_ = std::move(rest);
    return hr::kOk;
  }

  Album* target = nullptr;
  if (placement == Placement::kInto) {
    target = findAlbum(reference);
  } else if (placement == Placement::kBefore || placement == Placement::kAfter) {
    target = ownerOf(reference);
  }
  if (!target) return hr::kInvalidArg;
  size_t incoming = 0;
  for (Eid item : items)
    if (ownerOf(item) != target) ++incoming;
  if (target->tracks.size() + incoming > static_cast<size_t>(treelist::kMaxTracksPerAlbum)) return hr::kFail;

  for (Eid item : items) {
    Album* from = ownerOf(item);
    from->tracks.erase(std::find(from->tracks.begin(), from->tracks.end(), item));
  }
  auto at = target->tracks.end();
  if (placement != Placement::kInto) {
    at = std::find(target->tracks.begin(), target->tracks.end(), reference);
    if (placement == Placement::kAfter) ++at;
  }
  target->tracks.insert(at, items.begin(), items.end());
  return hr::kOk;
}

HRESULT MemoryPlayer::GetTrackIdAt(Eid album, uint32_t index, Eid& track) {
  ++idLookups;
  track = 0;
  Album* a = findAlbum(album);
  if (!a) return hr::kInvalidArg;
  if (index >= a->tracks.size()) return hr::kFail;
  track = a->tracks[index];
  return hr::kOk;
}

HRESULT MemoryPlayer::DeleteTracks(const std::vector<Eid>& tracks) {
  for (Eid t : tracks)
    if (!albumOf(t)) return hr::kInvalidArg;
  for (Eid t : tracks) {
    Album* a = albumOf(t);
    a->tracks.erase(std::find(a->tracks.begin(), a->tracks.end(), t));
  }
  return hr::kOk;
}

HRESULT MemoryPlayer::DeleteAlbums(const std::vector<Eid>& albums) {
  for (Eid a : albums)
    if (!findAlbum(a)) return hr::kInvalidArg;
  albums_.erase(std::remove_if(albums_.begin(), albums_.end(),
                               [&](const Album& a) {
                                 return std::find(albums.begin(), albums.end(), a.eid) != albums.end();
                               }),
                albums_.end());
  return hr::kOk;
}

std::vector<MemoryPlayer::Eid> MemoryPlayer::albumOrder() const {
  std::vector<Eid> order;
  for (const Album& a : albums_) order.push_back(a.eid);
  return order;
}

std::vector<std::string> MemoryPlayer::trackTitles(Eid album) const {
  std::vector<std::string> out;
  if (const Album* a = this->album(album))
    for (Eid t : a->tracks) out.push_back(titles_.at(t));
  return out;
}

}  // namespace treelisttest
