// One frame of a tag as it is stored: its 10-byte header (identifier, body
// size as a plain 32-bit big-endian number, two flags bytes) followed by
// the body, kept as raw bytes. Fields inside the body are decoded only
// where an operation needs them (tag_frame_body.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "container/tag_text.h"

namespace container {

constexpr size_t kFrameHeaderSize = 10;
constexpr size_t kFrameIdSize = 4;

// Frame-header flag (first flags byte): the frame is read-only.
constexpr uint8_t kFrameFlagReadOnly = 0x20;
// Second flags byte: compression, encryption and grouping, which change how
// the body must be read.
constexpr uint8_t kFrameFormatFlags = 0x80 | 0x40 | 0x20;

// The five body kinds the library handles.
enum class FrameKind {
  kText,      // "T..." except "TXXX"
  kUrl,       // "W..." except "WXXX"
  kUserText,  // "TXXX"
  kUserUrl,   // "WXXX"
  kObject,    // "GEOB"
};

// The kind of body an identifier has; false for any other identifier.
bool ClassifyFrameId(std::string_view id, FrameKind& kind);

// "WOAR" and "WCOM" may occur several times in one tag.
bool IsRepeatableLinkId(std::string_view id);

class TagFrame {
 public:
  TagFrame() = default;
  // A frame from its raw bytes (header and body), taken as they are.
  explicit TagFrame(Bytes raw) : m_raw(std::move(raw)) {}
  // A frame built from its parts; the size field is set from the body.
  TagFrame(std::string_view id, uint8_t flags0, uint8_t flags1, const Bytes& body);

  const Bytes& bytes() const { return m_raw; }
  // At least a header, and a size field that matches the bytes held.
  bool wellFormed() const;

  std::string id() const;
  uint8_t flags0() const { return m_raw.size() > 8 ? m_raw[8] : 0; }
  uint8_t flags1() const { return m_raw.size() > 9 ? m_raw[9] : 0; }
  const uint8_t* body() const { return m_raw.data() + kFrameHeaderSize; }
  size_t bodySize() const { return m_raw.size() >= kFrameHeaderSize ? m_raw.size() - kFrameHeaderSize : 0; }

  // Replaces the body and updates the size field; the header keeps its
  // identifier and flags.
  void setBody(const Bytes& body);
  // Shortens the body to size bytes (no-op when it is not longer).
  void truncateBody(size_t size);

 private:
  void writeSizeField();

  Bytes m_raw;
};

}  // namespace container
