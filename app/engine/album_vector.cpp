#include "app/engine/album_vector.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/debug_log.h"
#include "app/engine/drop_phases.h"

namespace app::engine {
namespace {

bool NameTaken(const std::vector<device::AlbumRecord>& albums, const std::u16string& name) {
  return std::any_of(albums.begin(), albums.end(),
                     [&](const device::AlbumRecord& a) { return a.name == name; });
}

std::u16string NumberedName(const std::u16string& prefix, int n) {
  const std::string digits = "(" + std::to_string(n) + ")";
  return prefix + std::u16string(digits.begin(), digits.end());
}

}  // namespace

void AlbumVector::Assign(std::vector<device::AlbumRecord> albums) {
  std::lock_guard<std::mutex> lock(mutex_);
  albums_ = std::move(albums);
}

void AlbumVector::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  albums_.clear();
}

std::vector<device::AlbumRecord> AlbumVector::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return albums_;
}

size_t AlbumVector::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return albums_.size();
}

void AlbumVector::Append(device::AlbumRecord album) {
  std::lock_guard<std::mutex> lock(mutex_);
  albums_.push_back(std::move(album));
}

bool AlbumVector::AppendIfMissing(uint32_t eid, const std::u16string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& a : albums_) {
    if (a.eid == eid) return false;
  }
  albums_.push_back(device::AlbumRecord{eid, name, 0});
  return true;
}

size_t AlbumVector::RemoveEids(const std::vector<uint32_t>& eids) {
  std::lock_guard<std::mutex> lock(mutex_);
  const size_t before = albums_.size();
  std::erase_if(albums_, [&](const device::AlbumRecord& a) {
    return std::find(eids.begin(), eids.end(), a.eid) != eids.end();
  });
  return before - albums_.size();
}

std::optional<device::AlbumRecord> AlbumVector::FindByEid(uint32_t eid) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& a : albums_) {
    if (a.eid == eid) return a;
  }
  return std::nullopt;
}

int AlbumVector::IndexOfEid(uint32_t eid) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (size_t i = 0; i < albums_.size(); ++i) {
    if (albums_[i].eid == eid) return static_cast<int>(i);
  }
  return -1;
}

bool AlbumVector::At(int index, device::AlbumRecord& out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index < 0 || static_cast<size_t>(index) >= albums_.size()) return false;
  out = albums_[static_cast<size_t>(index)];
  return true;
}

bool AlbumVector::HasName(const std::u16string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return NameTaken(albums_, name);
}

bool AlbumVector::GetUniqueAlbumName(std::u16string& name) const {
  std::vector<device::AlbumRecord> albums = Snapshot();
  const auto same = std::find_if(albums.begin(), albums.end(),
                                 [&](const device::AlbumRecord& a) { return a.name == name; });
  if (same == albums.end() || same->eid == 0) return false;

  std::u16string prefix = name;
  const size_t loc1 = name.find(u'(');
  const size_t loc2 = name.find(u')');
  if (loc1 != std::u16string::npos && loc2 != std::u16string::npos) {
    prefix = name.substr(0, loc1);
    DebugLog("\nGetUniqueAlbumName: loc1=%d, loc2=%d, prefix=%s", static_cast<int>(loc1),
             static_cast<int>(loc2), NarrowForLog(prefix).c_str());
  }
  // There are fewer albums than candidates, so some n up to size + 1 is free.
  for (int n = 1;; ++n) {
    std::u16string candidate = NumberedName(prefix, n);
    if (!NameTaken(albums, candidate)) {
      name = std::move(candidate);
      return true;
    }
  }
}

AlbumVector& SharedAlbumVector() {
  static AlbumVector albums;
  return albums;
}

}  // namespace app::engine
