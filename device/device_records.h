// Plain records of what the player holds, as the device wrapper lists them
// for the tree list and the job engine. Texts are UTF-16; a name or text the
// player does not have is already replaced by "Untitled" or "Unknown".
#pragma once

#include <cstdint>
#include <string>

namespace device {

constexpr char16_t kUntitledAlbum[] = u"Untitled";
constexpr char16_t kUnknownText[] = u"Unknown";

struct AlbumRecord {
  uint32_t eid = 0;
  std::u16string name;
  int64_t playTimeMs = 0;
};

struct TrackRecord {
  uint32_t eid = 0;
  uint32_t trackNumber = 0;
  std::u16string title;
  std::u16string album;
  std::u16string artist;
  int64_t playTimeMs = 0;
  std::u16string genre;
};

}  // namespace device
