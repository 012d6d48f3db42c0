#include "container/kvx_tag.h"

#include <algorithm>
#include <array>
#include <new>

#include "common/byte_order.h"

namespace container {

namespace {

// The frames written right after the order's leading object, in this order.
constexpr std::array<std::string_view, 7> kLeadingTextKeys = {"TIT2",      "TPE1",      "TALB", "TCON",
                                                              "LMR_TPE1S", "LMR_TRACK", "TYER"};
// "GEOB" frames whose description starts so are written next.
constexpr std::string_view kThumbnailPrefix = "LMR_FTHB";

template <typename Index>
TagFrame TakeOut(Index& index, typename Index::iterator it) {
  TagFrame frame = std::move(it->second.frame);
  index.erase(it);
  return frame;
}

}  // namespace

void KVXTag::clear() {
  m_byText.clear();
  m_objects.clear();
  m_links.clear();
  m_bHasHeader = false;
  m_header = {};
  m_nLength = 0;
}

KvxFileRet KVXTag::parse(const uint8_t* image, size_t size) {
  clear();
  if (image == nullptr && size != 0) return KvxFileRet::kNullPointer;
  if (size < kTagHeaderSize || !HasTagMagic(image)) return KvxFileRet::kOk;  // no tag
  uint32_t length = 0;
  KvxFileRet r = TagLengthOf(image, length);
  if (!IsOk(r)) return r;
  // A size field claiming more than the file holds: the "tag" would swallow
  // the audio behind it on the next write.
  if (length > size) return KvxFileRet::kInconsistent;
  std::copy(image, image + kTagHeaderSize, m_header.begin());
  m_bHasHeader = true;
  m_nLength = length;

  try {
    size_t offset = kTagHeaderSize;
    while (offset < length) {
      const size_t left = length - offset;
      // Two zero bytes begin the padding (a last single zero byte too).
      if (image[offset] == 0 && (left == 1 || image[offset + 1] == 0)) break;
      // The header must end, and the body fit, inside the tag.
      if (left <= kFrameHeaderSize) return KvxFileRet::kInconsistent;
      const uint32_t bodySize = byte_order::ReadBig32(image + offset + 4);
      if (bodySize > left - kFrameHeaderSize) return KvxFileRet::kInconsistent;
      // Every body kind holds at least one byte; an empty one is not a frame
      // this library could ever have written.
      if (bodySize == 0) return KvxFileRet::kMalformed;
      // Compressed, encrypted or grouped bodies are not in the form the
      // rest of the library reads and rewrites.
      if (image[offset + 9] & kFrameFormatFlags) return KvxFileRet::kMalformed;
      const size_t frameSize = kFrameHeaderSize + bodySize;
      r = insertFrame(TagFrame(Bytes(image + offset, image + offset + frameSize)));
      if (!IsOk(r)) return r;
      offset += frameSize;
    }
  } catch (const std::bad_alloc&) {
    return KvxFileRet::kOutOfMemory;
  }
  return KvxFileRet::kOk;
}

KvxFileRet KVXTag::insertFrame(TagFrame frame) {
  if (!frame.wellFormed()) return KvxFileRet::kInconsistent;
  if (frame.bodySize() == 0) return KvxFileRet::kMalformed;
  FrameIndex index;
  std::string key;
  KvxFileRet r = FrameKeyOf(frame, index, key);
  if (!IsOk(r)) return r;
  Stored stored{std::move(frame), m_nNextSequence++};
  switch (index) {
    case FrameIndex::kByText:
      m_byText.insert_or_assign(std::move(key), std::move(stored));
      break;
    case FrameIndex::kObjects:
      m_objects.insert_or_assign(std::move(key), std::move(stored));
      break;
    case FrameIndex::kLinks:
      m_links.emplace(std::move(key), std::move(stored));
      break;
  }
  return KvxFileRet::kOk;
}

KvxFileRet KVXTag::removeFrames(std::string_view id, const std::u16string& description) {
  FrameIndex index;
  std::string key;
  KvxFileRet r = LookupKeyOf(id, description, index, key);
  if (!IsOk(r)) return r;
  size_t removed = 0;
  switch (index) {
    case FrameIndex::kByText:
      removed = m_byText.erase(key);
      break;
    case FrameIndex::kObjects:
      removed = m_objects.erase(key);
      break;
    case FrameIndex::kLinks:
      removed = m_links.erase(key);
      break;
  }
  return removed ? KvxFileRet::kOk : KvxFileRet::kNoFrames;
}

KVXTag::Taken KVXTag::takeInWriteOrder(WriteOrder order, TagFrame& out) {
  // Each step runs dry before the next, and nothing is filed meanwhile, so
  // looking the steps up afresh on every call yields the order.
  if (order != WriteOrder::kPlain) {
    auto it = m_objects.find(order == WriteOrder::kLsi ? "LMR_LSI" : "LMR_ULINF");
    if (it != m_objects.end()) {
      out = TakeOut(m_objects, it);
      return Taken::kOther;
    }
  }
  for (std::string_view key : kLeadingTextKeys) {
    auto it = m_byText.find(std::string(key));
    if (it != m_byText.end()) {
      out = TakeOut(m_byText, it);
      return Taken::kLeadingText;
    }
  }
  auto thumb = m_objects.lower_bound(std::string(kThumbnailPrefix));
  if (thumb != m_objects.end() && thumb->first.compare(0, kThumbnailPrefix.size(), kThumbnailPrefix) == 0) {
    out = TakeOut(m_objects, thumb);
    return Taken::kOther;
  }
  if (!m_links.empty()) {
    out = TakeOut(m_links, m_links.begin());
    return Taken::kLink;
  }
  if (!m_byText.empty()) {
    out = TakeOut(m_byText, m_byText.begin());
    return Taken::kOther;
  }
  if (!m_objects.empty()) {
    out = TakeOut(m_objects, m_objects.begin());
    return Taken::kOther;
  }
  return Taken::kNothing;
}

KvxFileRet KVXTag::takeNextFrame(WriteOrder order, TagFrame& out) {
  const Taken taken = takeInWriteOrder(order, out);
  if (taken == Taken::kNothing) return KvxFileRet::kNoFrames;
  // "WOAR" and "WCOM" are written exactly as stored.
  if (taken == Taken::kLink) return KvxFileRet::kOk;
  KvxFileRet r = NormaliseFrame(out);
  if (!IsOk(r)) return r;
  // The cut follows the conversion, so that it counts UTF-16BE bytes.
  if (taken == Taken::kLeadingText) return CutFrameValue(out, kMaxLeadingValueBytes);
  return KvxFileRet::kOk;
}

KvxFileRet KVXTag::serialise(WriteOrder order, Bytes& out) {
  try {
    out.clear();
    TagFrame frame;
    for (;;) {
      KvxFileRet r = takeNextFrame(order, frame);
      if (r == KvxFileRet::kNoFrames) return KvxFileRet::kOk;
      if (!IsOk(r)) return r;
      out.insert(out.end(), frame.bytes().begin(), frame.bytes().end());
    }
  } catch (const std::bad_alloc&) {
    return KvxFileRet::kOutOfMemory;
  }
}

KvxFileRet KVXTag::queryProtection(std::string_view id, const std::u16string& description) const {
  FrameIndex index;
  std::string key;
  KvxFileRet r = LookupKeyOf(id, description, index, key);
  if (!IsOk(r)) return r;
  const TagFrame* frame = nullptr;
  if (index == FrameIndex::kLinks) {
    auto it = m_links.find(key);
    if (it != m_links.end()) frame = &it->second.frame;
  } else {
    const KeyedFrames& map = index == FrameIndex::kObjects ? m_objects : m_byText;
    auto it = map.find(key);
    if (it != map.end()) frame = &it->second.frame;
  }
  if (frame == nullptr) return KvxFileRet::kNoFrames;
  if (frame->bytes().size() < kFrameHeaderSize) return KvxFileRet::kFailed;
  return (frame->flags0() & kFrameFlagReadOnly) ? KvxFileRet::kProtected : KvxFileRet::kNotProtected;
}

bool KVXTag::hasObject(std::string_view description) const {
  return m_objects.find(std::string(description)) != m_objects.end();
}

std::vector<KVXTag::Entry> KVXTag::entries() const {
  std::vector<std::pair<uint64_t, Entry>> all;
  all.reserve(frameCount());
  for (const auto& [key, s] : m_byText) all.push_back({s.sequence, Entry{key, &s.frame}});
  for (const auto& [key, s] : m_objects) all.push_back({s.sequence, Entry{key, &s.frame}});
  for (const auto& [key, s] : m_links) all.push_back({s.sequence, Entry{key, &s.frame}});
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Entry> out;
  out.reserve(all.size());
  for (auto& e : all) out.push_back(e.second);
  return out;
}

}  // namespace container
