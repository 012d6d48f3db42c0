#include "container/header_block.h"

#include <algorithm>

namespace container {

void CHeaderBlock::reset() {
  m_bytes.fill(0);
  const uint8_t head[] = {'k', 'v', 'x', 0x02, 0x00, static_cast<uint8_t>(kHeaderBlockSize), 0xFF, 0xFE};
  std::copy(std::begin(head), std::end(head), m_bytes.begin());
}

HRESULT CHeaderBlock::complete(const CMpegFrame& frame) {
  uint8_t codec[4], time[4], count[4];
  HRESULT h = frame.getCodecInfo(codec);
  if (hr::Succeeded(h)) h = frame.getTotalDuration(time);
  if (hr::Succeeded(h)) h = frame.getFrameCount(count);
  if (hr::Failed(h)) return h;
  std::copy(std::begin(codec), std::end(codec), m_bytes.begin() + kHeaderBlockCodecOffset);
  std::copy(std::begin(time), std::end(time), m_bytes.begin() + kHeaderBlockTimeOffset);
  std::copy(std::begin(count), std::end(count), m_bytes.begin() + kHeaderBlockFrameCountOffset);
  return hr::kOk;
}

}  // namespace container
