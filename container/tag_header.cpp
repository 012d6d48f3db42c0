#include "container/tag_header.h"

namespace container {

TagHeader NewTagHeader() { return {'k', 'v', 'x', 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}; }

bool HasTagMagic(const uint8_t* header) {
  return (header[0] == 'k' && header[1] == 'v' && header[2] == 'x') ||
         (header[0] == 'I' && header[1] == 'D' && header[2] == '3');
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
