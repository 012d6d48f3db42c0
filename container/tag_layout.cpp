#include "container/tag_layout.h"

#include <new>

namespace container {

KvxFileRet NewTagLength(uint64_t frameBytes, uint64_t oldLength, uint64_t& newLength) {
  const uint64_t content = frameBytes + kTagHeaderSize;
  if (content > kMaxSynchsafe) return KvxFileRet::kTagTooLarge;
  if (frameBytes == 0) {
    newLength = 0;
    return KvxFileRet::kOk;
  }
  if (oldLength >= content && oldLength - content <= kTagPaddingUnit) {
    newLength = oldLength;
  } else {
    // The next multiple above: a content that is already a multiple still
    // gets a whole unit of padding.
    newLength = content + (kTagPaddingUnit - content % kTagPaddingUnit);
  }
  // Rounding up may pass the largest size the header can state.
  if (newLength - kTagHeaderSize > kMaxSynchsafe) return KvxFileRet::kTagTooLarge;
  return KvxFileRet::kOk;
}

KvxFileRet LayOutTag(const TagHeader* oldHeader, uint64_t oldLength, const Bytes& frames, Bytes& image) {
  uint64_t length = 0;
  KvxFileRet r = NewTagLength(frames.size(), oldLength, length);
  if (!IsOk(r)) return r;
  image.clear();
  if (length == 0) return KvxFileRet::kOk;
  try {
    TagHeader header = oldHeader ? *oldHeader : NewTagHeader();
    EncodeSynchsafe(static_cast<uint32_t>(length - kTagHeaderSize), header.data() + 6);
    image.reserve(static_cast<size_t>(length));
    image.insert(image.end(), header.begin(), header.end());
    image.insert(image.end(), frames.begin(), frames.end());
    image.resize(static_cast<size_t>(length), 0x00);
  } catch (const std::bad_alloc&) {
    return KvxFileRet::kOutOfMemory;
  }
  return KvxFileRet::kOk;
}

}  // namespace container
