#include "container/frame_scanner.h"

#include <cstring>

#include "container/conversion_trace.h"
#include "container/mpeg_header.h"

namespace container {

CFrameScanner::CFrameScanner() : carry_(std::make_unique<uint8_t[]>(kCarryCapacity)) {}

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
  if (count != 0) {
    std::memcpy(carry_.get() + valid_, data, count);
    valid_ += count;
  }

  // The whole chunk lies inside the frame that began in an earlier chunk.
  // The rest of that frame continues in the following chunks, so the
  // expected position moves on by what this chunk held.
  if (expected_ >= valid_) {
    expected_ -= valid_;
    valid_ = 0;
    return hr::kOk;
  }

  const uint8_t* buf = carry_.get();
  size_t q = expected_;
  while (q + 4 <= valid_) {
    MpegHeaderInfo info;
    if (!ParseMpegHeader(buf + q, info)) {
      ++q;  // not a frame sync: search on byte by byte
      continue;
    }
    HRESULT h = frame_.set(buf + q);
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

  if (q >= valid_) {
    // The last frame (if any) ends at or past the end of the bytes held;
    // its unread tail is skipped at the start of the next chunk.
    expected_ = q - valid_;
    valid_ = 0;
  } else {
    // One to three bytes remain: possibly the start of a header split
    // between this chunk and the next. Keep them at the buffer's start.
    const size_t rest = valid_ - q;
    std::memmove(carry_.get(), buf + q, rest);
    valid_ = rest;
    expected_ = 0;
  }
  return hr::kOk;
}

}  // namespace container
