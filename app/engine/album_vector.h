// The player's albums in display order, as the main window, the load thread
// and the drop thread know them. A mutex guards the vector; the drop thread
// appends each album it creates at once, so the next unique name it makes
// already sees it, and the main window's later append for the same EID does
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/device_records.h"

namespace app::engine {

class AlbumVector {
 public:
  void Assign(std::vector<device::AlbumRecord> albums);
  void Clear();
  std::vector<device::AlbumRecord> Snapshot() const;
  size_t Size() const;

  void Append(device::AlbumRecord album);
  // Appends {eid, name} unless an album with that EID is already there.
  // True when it appended.
  bool AppendIfMissing(uint32_t eid, const std::u16string& name);
  // Removes the albums with these EIDs; returns how many went.
  size_t RemoveEids(const std::vector<uint32_t>& eids);

  std::optional<device::AlbumRecord> FindByEid(uint32_t eid) const;
  // Index of the album with this EID, -1 when there is none.
  int IndexOfEid(uint32_t eid) const;
  // The album at index; false when out of range.
  bool At(int index, device::AlbumRecord& out) const;
  // True when some album is named exactly `name` (same UTF-16 units).
  bool HasName(const std::u16string& name) const;

  // Makes `name` differ from every album's name. When no album has exactly
  // this name (or the one that has it carries EID 0), false and the name is
  // unchanged. Otherwise the prefix is the text before the first "(" when
  // the name holds both a "(" and a ")", else the whole name, and the name
  // becomes the first of "prefix(1)", "prefix(2)", ... that no album has;
  // true.
  bool GetUniqueAlbumName(std::u16string& name) const;

 private:
  mutable std::mutex mutex_;
  std::vector<device::AlbumRecord> albums_;
};

// The one album vector of the process.
AlbumVector& SharedAlbumVector();

}  // namespace app::engine
