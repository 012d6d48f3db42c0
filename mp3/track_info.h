// TrackInfo: what the analyser found out about one accepted MP3 file. The
// drop target keeps one per file; a transfer job is a copy of it by value,
// so every member owns its text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"

namespace mp3 {

// Largest running number a record may carry.
constexpr uint32_t kMaxTrackNumber = 65525;

struct TrackInfo {
  // Running number of the file within its drop (0 from the validity check).
  uint32_t number = 0;
  // Full path of the source file.
  sys::Path sourcePath;

  // The tag texts as bytes in the tag code page (or the ANSI code page),
  // for the progress display and the album list.
  std::string title;
  std::string artist;
  std::string album;
  std::string genre;

  // The same texts as UTF-16, written into the track's tag on the player.
  std::u16string wideTitle;
  std::u16string wideArtist;
  std::u16string wideAlbum;
  std::u16string wideGenre;

  uint32_t highestBitRate = 0;  // bit/s
  uint32_t durationMs = 0;
  // The word after the duration; the analyser always stores 0 here.
  uint32_t reserved = 0;
};

}  // namespace mp3
