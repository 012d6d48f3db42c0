#include "device/audio_locator.h"

#include <algorithm>
#include <cstring>

namespace device {

namespace {

constexpr size_t kRiffHeader = 12;
constexpr size_t kChunkHeader = 8;
constexpr size_t kId3Header = 10;
constexpr size_t kTrailingTag = 128;
constexpr uint16_t kMpegFormatTag = 0x55;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool Is(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, std::strlen(tag)) == 0; }

// Narrows [p, end) to the body of the "data" chunk. False rejects the file.
bool EnterRiff(const uint8_t* data, size_t& p, size_t& end) {
  if (!Is(data + 8, "WAVE") && !Is(data + 8, "RMP3")) return false;
  size_t q = kRiffHeader;
  while (end - q >= kChunkHeader) {
    const uint8_t* chunk = data + q;
    const uint64_t size = Le32(chunk + 4);
    const size_t body = q + kChunkHeader;
    if (Is(chunk, "fmt ")) {
      // The format tag is the first 16-bit field of the body.
      if (size < 2 || end - body < 2) return false;
      const uint16_t format = static_cast<uint16_t>(data[body] | data[body + 1] << 8);
      if (format != kMpegFormatTag) return false;
    } else if (Is(chunk, "data")) {
      p = body;
      end = static_cast<size_t>(std::min<uint64_t>(end, body + size));  // a declared size past the end is cut
      return true;
    }
    // Chunks are padded to an even length.
    const uint64_t next = body + size + (size & 1);
    if (next > end) return false;
    q = static_cast<size_t>(next);
  }
  return false;  // no "data" chunk before the bytes ran out
}

}  // namespace

AudioSearch LocateAudio(const uint8_t* data, size_t length, AudioLocation& out) {
  out = AudioLocation{};
  if (!data) return length ? AudioSearch::kRejected : AudioSearch::kNoAudio;
  size_t p = 0, end = length;

  if (length >= kRiffHeader && Is(data, "RIFF") && !EnterRiff(data, p, end)) return AudioSearch::kRejected;

  if (end - p > kId3Header && Is(data + p, "ID3")) {
    const uint8_t* h = data + p;
    // Synchsafe: seven bits per byte, most significant first.
    uint64_t size = (h[6] & 0x7Fu) << 21 | (h[7] & 0x7Fu) << 14 | (h[8] & 0x7Fu) << 7 | (h[9] & 0x7Fu);
    if (h[5] & 0x10) size += kId3Header;  // footer
    if (end - p < size + kId3Header) return AudioSearch::kRejected;
    p += static_cast<size_t>(size + kId3Header);
  }

  // A remainder of exactly 128 bytes that is a trailing tag is a tag too:
  // frames never begin with "TAG".
  if (end - p >= kTrailingTag && Is(data + end - kTrailingTag, "TAG")) end -= kTrailingTag;

  if (end == p) return AudioSearch::kNoAudio;
  container::MpegHeaderInfo first;
  if (end - p == 4) {
    if (!container::ParseMpegHeader(data + p, first)) return AudioSearch::kRejected;
  } else {
    // A frame counts only when the next frame confirms it: same version and
    // layer right after its end, with the first frame fitting whole.
    bool found = false;
    for (; end - p >= 5; ++p) {
      if (!container::ParseMpegHeader(data + p, first)) continue;
      const uint64_t next = p + static_cast<uint64_t>(first.frameLength);
      if (next + 4 > end) continue;
      container::MpegHeaderInfo second;
      if (container::ParseMpegHeader(data + next, second) && second.version == first.version &&
          second.layer == first.layer) {
        found = true;
        break;
      }
    }
    if (!found) return AudioSearch::kRejected;
  }
  out.offset = p;
  out.size = end - p;
  out.firstFrame = first;
  return AudioSearch::kFound;
}

}  // namespace device
