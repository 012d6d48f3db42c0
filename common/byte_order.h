// Multi-byte fields as the tag and frame formats store them: big-endian
// integers, and synchsafe integers (28 bits stored seven bits per byte, most
// significant byte first, the top bit of every byte 0). Callers check that
// the bytes lie inside their buffer before reading.
#pragma once

#include <cstdint>

namespace byte_order {

constexpr uint32_t ReadBig24(const uint8_t* b) {
  return (uint32_t{b[0]} << 16) | (uint32_t{b[1]} << 8) | uint32_t{b[2]};
}

constexpr uint32_t ReadBig32(const uint8_t* b) {
  return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
}

inline void WriteBig32(uint32_t value, uint8_t* out) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

// The synchsafe value with the top bit of every byte ignored, as readers of
// tags from careless writers take it.
constexpr uint32_t ReadSynchsafe(const uint8_t* b) {
  return (uint32_t{b[0] & 0x7Fu} << 21) | (uint32_t{b[1] & 0x7Fu} << 14) | (uint32_t{b[2] & 0x7Fu} << 7) |
         uint32_t{b[3] & 0x7Fu};
}

// The strict reading: false, leaving value alone, when a byte has its top
// bit set.
inline bool DecodeSynchsafe(const uint8_t* b, uint32_t& value) {
  if ((b[0] | b[1] | b[2] | b[3]) & 0x80) return false;
  value = ReadSynchsafe(b);
  return true;
}

// Bits above the low 28 are dropped.
inline void EncodeSynchsafe(uint32_t value, uint8_t* out) {
  out[0] = static_cast<uint8_t>((value >> 21) & 0x7F);
  out[1] = static_cast<uint8_t>((value >> 14) & 0x7F);
  out[2] = static_cast<uint8_t>((value >> 7) & 0x7F);
  out[3] = static_cast<uint8_t>(value & 0x7F);
}

}  // namespace byte_order
