#include "tools/playertool/track_file_check.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/byte_order.h"
#include "container/frame_scanner.h"
#include "container/header_block.h"
#include "container/mpeg_header.h"

namespace playertool {

namespace {

constexpr size_t kTagHeader = 10;
constexpr size_t kFrameHeader = 10;
constexpr size_t kBlock = container::kHeaderBlockSize;

std::string Hex(const uint8_t* p, size_t n) {
  std::string s;
  char b[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(b, sizeof b, "%02X", p[i]);
    s += (i ? " " : "") + std::string(b);
  }
  return s;
}

bool AllZero(const uint8_t* p, size_t n) {
  return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

// The tag's frames up to its padding; false (with a fault) when a frame
// does not fit.
void CheckTagFrames(const uint8_t* tag, size_t length, TrackFileReport& r) {
  static const char* kTextFrames[] = {"TIT2", "TPE1", "TALB", "TCON"};
  std::vector<std::string> ids;
  size_t at = kTagHeader;
  while (at + kFrameHeader <= length && tag[at] != 0) {
    const std::string id(reinterpret_cast<const char*>(tag + at), 4);
    const bool named = std::all_of(id.begin(), id.end(),
                                   [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
    if (!named) {
      r.faults.push_back("tag: no frame identifier at offset " + std::to_string(at));
      return;
    }
    const uint32_t size = byte_order::ReadBig32(tag + at + 4);
    if (size > length - at - kFrameHeader) {
      r.faults.push_back("tag: frame " + id + " runs past the tag");
      return;
    }
    if (ids.size() < 4 && id == kTextFrames[ids.size()] && (size == 0 || tag[at + kFrameHeader] != 0x02)) {
      r.faults.push_back("tag: frame " + id + " is not UTF-16 big-endian text");
    }
    ids.push_back(id);
    at += kFrameHeader + size;
  }
  if (!AllZero(tag + at, length - at)) r.faults.push_back("tag: bytes after the last frame are not padding");
  for (size_t i = 0; i < 4; ++i) {
    if (ids.size() <= i || ids[i] != kTextFrames[i]) {
      r.faults.push_back(std::string("tag: frame ") + std::to_string(i + 1) + " is not " + kTextFrames[i]);
      return;
    }
  }
}

}  // namespace

TrackFileReport CheckTrackFile(const uint8_t* data, size_t size) {
  TrackFileReport r;
  if (size < kTagHeader || std::memcmp(data, "kvx", 3) != 0) {
    r.faults.push_back("no tag: the file does not start with \"kvx\"");
    return r;
  }
  if (data[3] != 0x03 || data[4] != 0x00) r.faults.push_back("tag: version is not 3.0");
  if ((data[6] | data[7] | data[8] | data[9]) & 0x80) r.faults.push_back("tag: size is not synchsafe");
  const size_t body = static_cast<size_t>(data[6] & 0x7F) << 21 | static_cast<size_t>(data[7] & 0x7F) << 14 |
                      static_cast<size_t>(data[8] & 0x7F) << 7 | (data[9] & 0x7F);
  if (body > size - kTagHeader) {
    r.faults.push_back("tag: its size runs past the end of the file");
    return r;
  }
  r.tagLength = kTagHeader + body;
  CheckTagFrames(data, r.tagLength, r);

  const uint8_t* block = data + r.tagLength;
  if (size - r.tagLength < kBlock) {
    r.faults.push_back("header block: only " + std::to_string(size - r.tagLength) + " of 96 bytes");
    return r;
  }
  const uint8_t head[] = {'k', 'v', 'x', 0x02, 0x00, 0x60, 0xFF, 0xFE};
  if (std::memcmp(block, head, sizeof head) != 0) {
    r.faults.push_back("header block: starts " + Hex(block, 8) + ", not kvx 02 00 60 FF FE");
  }
  if (!AllZero(block + 8, 24) || !AllZero(block + 44, 52))
    r.faults.push_back("header block: reserved bytes not zero");

  const uint8_t* audio = block + kBlock;
  r.audioLength = size - r.tagLength - kBlock;
  container::CFrameScanner scanner;
  for (size_t at = 0; at < r.audioLength; at += 65536) {
    const size_t n = std::min<size_t>(65536, r.audioLength - at);
    if (scanner.scanChunk(audio + at, n) < 0) {
      r.faults.push_back("audio: a frame header cannot be read at chunk " + std::to_string(at / 65536));
      break;
    }
  }
  container::MpegHeaderInfo first;
  if (r.audioLength != 0 && (r.audioLength < 4 || !container::ParseMpegHeader(audio, first))) {
    r.faults.push_back("audio: does not start with an MPEG frame header");
  }
  uint8_t codec[4], time[4], count[4];
  scanner.frame().getCodecInfo(codec);
  scanner.frame().getTotalDuration(time);
  scanner.frame().getFrameCount(count);
  r.frames = byte_order::ReadBig32(count);
  r.playTimeMs = byte_order::ReadBig32(time);
  if (std::memcmp(block + 32, codec, 4) != 0) {
    r.faults.push_back("header block: codec bytes " + Hex(block + 32, 4) + ", the audio gives " +
                       Hex(codec, 4));
  }
  if (byte_order::ReadBig32(block + 36) != r.playTimeMs) {
    r.faults.push_back("header block: " + std::to_string(byte_order::ReadBig32(block + 36)) +
                       " ms, the audio lasts " + std::to_string(r.playTimeMs) + " ms");
  }
  if (byte_order::ReadBig32(block + 40) != r.frames) {
    r.faults.push_back("header block: " + std::to_string(byte_order::ReadBig32(block + 40)) +
                       " frames, the audio has " + std::to_string(r.frames));
  }
  return r;
}

}  // namespace playertool
