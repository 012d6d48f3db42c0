#include "app/progress_report.h"

#include <string>

namespace app {

namespace {

std::u16string Number(uint64_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

bool SequenceInQueue(int32_t sequence, size_t queueSize) {
  return sequence >= 0 && static_cast<size_t>(sequence) < queueSize;
}

std::u16string ShortTitle(const std::u16string& title) {
  if (title.size() <= kTitleShownWhole) return title;
  return title.substr(0, kTitleShownWhole) + u"...";
}

std::u16string ShortAlbumName(const std::u16string& name) {
  if (name.size() < kAlbumCutFrom) return name;
  return name.substr(0, kAlbumCutKeeps) + u"...";
}

RunningStateView DescribeRunningState(const RunningStateInput& in) {
  RunningStateView view;
  if (in.sequence < 0) return view;
  if (in.percent == 100) {
    view.action = RunningStateAction::kFinishing;
    return view;
  }
  if (in.queueSize == 0) return view;

  view.action = RunningStateAction::kProgress;
  const std::u16string album = ShortAlbumName(in.albumName);
  const std::u16string percent = Number(in.percent) + u" %";
  if (SequenceInQueue(in.sequence, in.queueSize)) {
    const std::u16string position =
        Number(static_cast<uint64_t>(in.sequence) + 1) + u" / " + Number(in.queueSize);
    view.progressText = position + u"  " + album + u"\n" + ShortTitle(in.title) + u"\n" + percent;
    view.statusText = position + u"  " + album + u"  " + percent;
  } else {
    // A pooled job: its number says nothing about the batch, so the count
    // of tracks this drop has finished stands in for the position.
    const std::u16string done = Number(in.tracksDone);
    view.progressText = done + u"  " + album + u"\n\n" + percent;
    view.statusText = done + u"  " + album + u"  " + percent;
  }
  return view;
}

}  // namespace app
