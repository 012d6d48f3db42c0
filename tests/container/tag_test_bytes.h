// Tag bytes for tests, spelled out independently of the library: frames
// and tags are assembled here from the layout of the format itself.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tagbytes {

using Bytes = std::vector<uint8_t>;

inline Bytes Ascii(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Bytes Be(std::u16string_view s) {
  Bytes out;
  for (char16_t c : s) out.insert(out.end(), {uint8_t(c >> 8), uint8_t(c & 0xFF)});
  return out;
}

inline Bytes LeWithBom(std::u16string_view s) {
  Bytes out{0xFF, 0xFE};
  for (char16_t c : s) out.insert(out.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
  return out;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Frame(std::string_view id, const Bytes& body, uint8_t flags0 = 0, uint8_t flags1 = 0) {
  const auto n = static_cast<uint32_t>(body.size());
  return Cat(
      {Ascii(id), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), flags0, flags1}, body});
}

inline Bytes Synchsafe(uint32_t n) {
  return {uint8_t((n >> 21) & 0x7F), uint8_t((n >> 14) & 0x7F), uint8_t((n >> 7) & 0x7F), uint8_t(n & 0x7F)};
}

// A tag of the frames followed by padding zero bytes.
inline Bytes Tag(std::initializer_list<Bytes> frames, size_t padding, std::string_view magic = "kvx",
                 uint8_t flags = 0) {
  Bytes content = Cat(frames);
  content.resize(content.size() + padding, 0);
  return Cat({Ascii(magic), {0x03, 0x00, flags}, Synchsafe(static_cast<uint32_t>(content.size())), content});
}

// Stand-in audio after the tag: bytes that differ from each other.
inline Bytes Audio(size_t n) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(0xFF - i % 251);
  return out;
}

// The identifiers and sizes of the frames laid one after another in bytes,
// up to padding.
inline std::vector<std::pair<std::string, uint32_t>> WalkFrames(const Bytes& frames, size_t from = 0) {
  std::vector<std::pair<std::string, uint32_t>> out;
  for (size_t at = from; at + 10 <= frames.size() && frames[at] != 0;) {
    uint32_t size = (uint32_t(frames[at + 4]) << 24) | (uint32_t(frames[at + 5]) << 16) |
                    (uint32_t(frames[at + 6]) << 8) | frames[at + 7];
    out.emplace_back(std::string(frames.begin() + at, frames.begin() + at + 4), size);
    at += 10 + size;
  }
  return out;
}

}  // namespace tagbytes
