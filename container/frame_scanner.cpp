#include "container/frame_scanner.h"

#include <cstring>

#include "container/conversion_trace.h"
#include "container/mpeg_header.h"

namespace container {

CFrameScanner::CFrameScanner() = default;

void CFrameScanner::reset() {
  valid_ = 0;
  expected_ = 0;
  frame_.reset();
}

HRESULT CFrameScanner::scanChunk(const uint8_t* data, size_t count) {
  // Checks come before any change, so a refused chunk leaves the carried
  // bytes and the expected position as they were.
  if (count > kCarryCapacity - valid_) {
    return hr::kFail;
  }
  if (data == nullptr && count != 0) {
    return hr::kInvalidArg;
  }
  // The bytes held are the carried ones followed by the chunk. The chunk is
  // walked where it lies (copying 64 KiB a chunk cost more than the walk);
  // only a header that begins among the carried bytes is put together.
  const size_t total = valid_ + count;
  auto byteAt = [&](size_t i) { return i < valid_ ? carry_[i] : data[i - valid_]; };

  // The whole chunk lies inside the frame that began in an earlier chunk.
  // The rest of that frame continues in the following chunks, so the
  // expected position moves on by what this chunk held.
  if (expected_ >= total) {
    expected_ -= total;
    valid_ = 0;
    return hr::kOk;
  }

  size_t q = expected_;
  uint8_t joined[kHeaderBytes];
  while (q + kHeaderBytes <= total) {
    const uint8_t* header = nullptr;
    if (q >= valid_) {
      header = data + (q - valid_);
    } else {
      for (size_t k = 0; k < kHeaderBytes; ++k) joined[k] = byteAt(q + k);
      header = joined;
    }
    MpegHeaderInfo info;
    if (!ParseMpegHeader(header, info)) {
      ++q;  // not a frame sync: search on byte by byte
      continue;
    }
    HRESULT h = frame_.set(header);
    if (hr::Failed(h)) {
      ConversionTrace("CMpegFrame::set() fail 0x%08X fc(%ld) %s", static_cast<unsigned>(h),
                      static_cast<long>(frame_.frameCount()), sourcePath_.c_str());
      return h;
    }
    uint32_t frameSize = 0;
    h = frame_.getFrameSize(&frameSize);
    if (hr::Failed(h)) {
      ConversionTrace("CMpegFrame::getFrameSize() fail 0x%08X fc(%ld)", static_cast<unsigned>(h),
                      static_cast<long>(frame_.frameCount()));
      return h;
    }
    // Every usable header gives at least 24 bytes, so q always moves on.
    q += frameSize;
  }

  if (q >= total) {
    // The last frame (if any) ends at or past the end of the bytes held;
    // its unread tail is skipped at the start of the next chunk.
    expected_ = q - total;
    valid_ = 0;
  } else {
    // One to three bytes remain: possibly the start of a header split
    // between this chunk and the next. They are carried to the next one.
    const size_t rest = total - q;
    uint8_t kept[kHeaderBytes - 1];
    for (size_t k = 0; k < rest; ++k) kept[k] = byteAt(q + k);
    std::memcpy(carry_.data(), kept, rest);
    valid_ = rest;
    expected_ = 0;
  }
  return hr::kOk;
}

}  // namespace container
