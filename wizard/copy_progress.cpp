#include "wizard/copy_progress.h"

namespace wizard {

int CopyPercent(uint32_t finishedEntries, size_t totalEntries, bool workerEnded) {
  if (workerEnded) return 100;
  if (totalEntries == 0) return 0;
  return static_cast<int>(static_cast<uint64_t>(finishedEntries) * 100 / totalEntries);
}

PollStep StepAfterPoll(HRESULT pollCode, int percent, bool finished) {
  PollStep step;
  if (finished) {
    step.endPage = true;
    step.result = pollCode;
    step.barPosition = 100;
    return step;
  }
  if (pollCode != hr::kOk) {
    step.endPage = true;
    step.result = pollCode;
    return step;
  }
  if (percent != 0) step.barPosition = percent;
  return step;
}

}  // namespace wizard
