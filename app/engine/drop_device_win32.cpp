#include "app/engine/drop_device_win32.h"

namespace app::engine {

int64_t CWrapJobDevice::AlbumTrackCount(uint32_t albumEid) {
  uint32_t count = 0;
  if (hr::Failed(wrap_.EnumTracks(albumEid, count, nullptr))) return -1;
  return count;
}

}  // namespace app::engine
