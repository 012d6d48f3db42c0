// What the main window shows for one "RunningState" report of a transfer:
// the progress window's text and the status line, or nothing. Kept apart
// from the window so the cuts and the bounds are tested directly.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// Longest title shown whole; longer ones show this many characters and "...".
constexpr size_t kTitleShownWhole = 12;
// Album names this long or longer show their first 8 characters and "...".
constexpr size_t kAlbumCutFrom = 25;
constexpr size_t kAlbumCutKeeps = 8;

struct RunningStateInput {
  int32_t sequence = 0;      // the job's sequence number (wParam)
  uint32_t percent = 0;      // 10..100 (lParam)
  size_t queueSize = 0;      // jobs in the current batch
  std::u16string title;      // title of the queued job `sequence`, if it is in the queue
  std::u16string albumName;  // the album the drop goes to
  uint32_t tracksDone = 0;   // tracks completed in this drop so far
};

enum class RunningStateAction {
  kIgnore,     // a negative sequence, or an empty queue
  kFinishing,  // 100 %: the track is being committed
  kProgress,   // text, status line, button state 0
};

struct RunningStateView {
  RunningStateAction action = RunningStateAction::kIgnore;
  std::u16string progressText;
  std::u16string statusText;
};

// True when the job's sequence number names an entry of the queue. Jobs
// that came through the pool carry running numbers of the whole drop,
// which can be far beyond the batch in the queue.
bool SequenceInQueue(int32_t sequence, size_t queueSize);

RunningStateView DescribeRunningState(const RunningStateInput& in);

// The title as the progress window shows it (12 characters, then "...").
std::u16string ShortTitle(const std::u16string& title);
// The album name as the progress window shows it.
std::u16string ShortAlbumName(const std::u16string& name);

}  // namespace app
