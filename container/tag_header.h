// The 10-byte tag header at the start of every track file, ID3v2.3 in form
// with "kvx" (or "ID3") as its magic:
//   0  3  magic
//   3  2  version 0x03 0x00
//   5  1  flags (kept from the file; 0x00 in a new header)
//   6  4  size of the tag after the header, synchsafe: seven bits per byte,
//         most significant byte first, top bit of every byte 0
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/byte_order.h"
#include "container/kvx_file_ret.h"

namespace container {

constexpr size_t kTagHeaderSize = 10;
using TagHeader = std::array<uint8_t, kTagHeaderSize>;

// The largest value a synchsafe size can hold.
constexpr uint32_t kMaxSynchsafe = 0x0FFFFFFF;

// Header flags this library cannot honour: unsynchronisation (the frames
// would have to be decoded first) and an extended header (it would be read
// as frames).
constexpr uint8_t kUnsupportedHeaderFlags = 0x80 | 0x40;

// The header of a new tag: "kvx", version 3.0, no flags, size 0.
TagHeader NewTagHeader();

// Whether the bytes start with the magic "kvx" or "ID3".
bool HasTagMagic(const uint8_t* header);

// The size field's encoding; decoding refuses a byte with its top bit set.
using byte_order::DecodeSynchsafe;
using byte_order::EncodeSynchsafe;

// Checks a header that has the magic and gives the tag's whole length
// (header included): kMalformed for another version, unsupported flags or a
// size field that is not synchsafe.
KvxFileRet TagLengthOf(const uint8_t* header, uint32_t& length);

}  // namespace container
