// The player's albums and tracks as the album/track list shows them after
// the first listing: UTF-16 texts from the device turned into narrow texts
// (title, artist and album in the tag code page, the genre in code page
// 936), trailing white space cut and empty texts shown as "Unknown".
#pragma once

#include <cstdint>
#include <vector>

#include "device/device_records.h"
#include "treelist/track_list.h"

namespace app {

// The genre table of the player is kept in this code page.
constexpr uint32_t kGenreCodePage = 936;

treelist::LoadedTrack ToLoadedTrack(const device::TrackRecord& track, uint32_t tagCodePage);
// The album node; its tracks are appended by the caller.
treelist::LoadedAlbum ToLoadedAlbum(const device::AlbumRecord& album);

}  // namespace app
