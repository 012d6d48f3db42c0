// The finished job that "OneTrackCompleted" carries in its wParam. The drop
// thread posts the message and goes on; about 300 ms after a batch ends it
// empties the queue and fills it with the next batch, while the report may
// still wait in the window's message queue. So the report carries a heap
// copy of everything the window shows: the poster makes it, the main
// window's handler takes it over and frees it, and a post that fails frees
// it at once (as the album name of "OneFolderCreated" is handled).
#pragma once

#include <windows.h>

#include <memory>

#include "app/engine/job_events.h"

namespace app::engine {

// Posts "OneTrackCompleted" to `window` with a new copy of `track` in
// wParam and 0 in lParam. False, with the copy freed, when the post failed.
bool PostOneTrackCompleted(HWND window, const CompletedTrack& track);

// The handler takes the copy in wParam over (null wParam: none).
std::unique_ptr<CompletedTrack> TakePostedTrack(WPARAM wParam);

}  // namespace app::engine
