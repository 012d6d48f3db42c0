#include "mp3/refusal_cause.h"

#include "mp3/mp3_analyzer.h"

namespace mp3 {

RefusalReason ReasonOf(const ValidityReport& report) {
  RefusalReason reason;
  switch (report.reason) {
    case Refusal::kExtension:
      reason.cause = RefusalCause::kNotMp3Name;
      break;
    case Refusal::kRiff:
    case Refusal::kNoFrame:
      reason.cause = RefusalCause::kNotMpegAudio;
      break;
    case Refusal::kBitRate:
      reason.cause = RefusalCause::kBitRate;
      // The rate that broke the limit: a frame too slow shows as the lowest
      // rate, otherwise the highest was too fast.
      reason.bitRate =
          report.lowestBitRate < kLowestPlayableBitRate ? report.lowestBitRate : report.highestBitRate;
      break;
    case Refusal::kNone:  // accepted by the scan but its tags could not be read
    case Refusal::kUnreadable:
      reason.cause = RefusalCause::kUnreadable;
      reason.systemError = report.systemError;
      break;
  }
  return reason;
}

}  // namespace mp3
