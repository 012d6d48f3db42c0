#include "container/tag_frame.h"

#include "common/byte_order.h"

namespace container {

bool ClassifyFrameId(std::string_view id, FrameKind& kind) {
  if (id.size() != kFrameIdSize) return false;
  if (id == "TXXX") {
    kind = FrameKind::kUserText;
  } else if (id == "WXXX") {
    kind = FrameKind::kUserUrl;
  } else if (id == "GEOB") {
    kind = FrameKind::kObject;
  } else if (id[0] == 'T') {
    kind = FrameKind::kText;
  } else if (id[0] == 'W') {
    kind = FrameKind::kUrl;
  } else {
    return false;
  }
  return true;
}

bool IsRepeatableLinkId(std::string_view id) { return id == "WOAR" || id == "WCOM"; }

TagFrame::TagFrame(std::string_view id, uint8_t flags0, uint8_t flags1, const Bytes& body) {
  m_raw.reserve(kFrameHeaderSize + body.size());
  for (size_t i = 0; i < kFrameIdSize; ++i) m_raw.push_back(i < id.size() ? static_cast<uint8_t>(id[i]) : 0);
  m_raw.insert(m_raw.end(), {0, 0, 0, 0, flags0, flags1});
  m_raw.insert(m_raw.end(), body.begin(), body.end());
  writeSizeField();
}

bool TagFrame::wellFormed() const {
  if (m_raw.size() < kFrameHeaderSize) return false;
  return byte_order::ReadBig32(m_raw.data() + 4) == m_raw.size() - kFrameHeaderSize;
}

std::string TagFrame::id() const {
  if (m_raw.size() < kFrameIdSize) return std::string();
  return std::string(reinterpret_cast<const char*>(m_raw.data()), kFrameIdSize);
}

void TagFrame::setBody(const Bytes& body) {
  m_raw.resize(kFrameHeaderSize);
  m_raw.insert(m_raw.end(), body.begin(), body.end());
  writeSizeField();
}

void TagFrame::truncateBody(size_t size) {
  if (bodySize() <= size) return;
  m_raw.resize(kFrameHeaderSize + size);
  writeSizeField();
}

void TagFrame::writeSizeField() {
  // Callers keep bodies below 4 GiB (the tag itself is limited to 256 MiB).
  const auto size = static_cast<uint32_t>(m_raw.size() - kFrameHeaderSize);
  byte_order::WriteBig32(size, m_raw.data() + 4);
}

}  // namespace container
