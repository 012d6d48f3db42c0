#include "container/tag_header.h"

namespace container {

TagHeader NewTagHeader() { return {'k', 'v', 'x', 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}; }

bool HasTagMagic(const uint8_t* header) {
  return (header[0] == 'k' && header[1] == 'v' && header[2] == 'x') ||
         (header[0] == 'I' && header[1] == 'D' && header[2] == '3');
}

void EncodeSynchsafe(uint32_t value, uint8_t out[4]) {
  out[0] = static_cast<uint8_t>((value >> 21) & 0x7F);
  out[1] = static_cast<uint8_t>((value >> 14) & 0x7F);
  out[2] = static_cast<uint8_t>((value >> 7) & 0x7F);
  out[3] = static_cast<uint8_t>(value & 0x7F);
}

bool DecodeSynchsafe(const uint8_t in[4], uint32_t& value) {
  if ((in[0] | in[1] | in[2] | in[3]) & 0x80) return false;
  value = (uint32_t(in[0]) << 21) | (uint32_t(in[1]) << 14) | (uint32_t(in[2]) << 7) | uint32_t(in[3]);
  return true;
}

KvxFileRet TagLengthOf(const uint8_t* header, uint32_t& length) {
  if (header[3] != 0x03 || header[4] != 0x00) return KvxFileRet::kMalformed;
  if (header[5] & kUnsupportedHeaderFlags) return KvxFileRet::kMalformed;
  uint32_t size = 0;
  if (!DecodeSynchsafe(header + 6, size)) return KvxFileRet::kMalformed;
  length = size + static_cast<uint32_t>(kTagHeaderSize);
  return KvxFileRet::kOk;
}

}  // namespace container
