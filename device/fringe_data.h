// Writes a new track's text tag into its file on the player, through the
// tag editor: title, album, artist and genre, each one UTF-16 big-endian
// value, committed in the LSI order. The file does not exist yet: it is
// created holding the tag alone, and the device-access library stores the
// rest after it.
#pragma once

#include <functional>

#include "common/hresult.h"
#include "mp3/track_info.h"
#include "platform/system.h"

namespace device {

// Text encoding of every frame: UTF-16 big-endian.
constexpr uint32_t kFringeEncoding = 2;

// stopRequested is asked before the open and before each frame; a stop
// answers S_FALSE, leaving at most an empty tag (the caller's abandoned
// export removes the file). Otherwise the editor's first
// failure, or 0. The path goes to the editor in the ANSI code page, or
// whole when that code page cannot spell it.
HRESULT WriteFringeData(const sys::Path& destination, const mp3::TrackInfo& job,
                        const std::function<bool()>& stopRequested);

}  // namespace device
