// The copying page's arithmetic: the percentage Poll reports and what the
// page does with each poll.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/hresult.h"

namespace wizard {

// Exit code GetExitCodeThread reports for a thread that still runs.
constexpr uint32_t kStillActive = 259;

// Entries finished (copied or passed over) of total, in whole percent. An
// empty list has nothing to divide by: 0 while the worker runs, 100 once it
// has ended.
int CopyPercent(uint32_t finishedEntries, size_t totalEntries, bool workerEnded);

// Bar positions the page shows around Start.
constexpr int kBarBeforeStart = 5;
constexpr int kBarAfterStart = 10;

struct PollStep {
  bool endPage = false;      // false: poll again in 100 ms
  HRESULT result = hr::kOk;  // the page's copy result when endPage
  int barPosition = -1;      // -1: leave the bar where it is
};

// What one poll means for the page. A finished copy fills the bar and ends
// the page with the copy's code; a code while the copy is not finished is a
// cancelled copy that has stopped; otherwise the bar follows the percentage
// (a 0 would only move it back below the Start marks) and polling goes on.
PollStep StepAfterPoll(HRESULT pollCode, int percent, bool finished);

}  // namespace wizard
