// Arbitrary bytes read as the start of a track file. When they parse as a
// tag, the tag is written out in each write order, laid out and parsed
// again: every frame must come back under the same key, its text the same
// (or, for the leading frames, cut to its first 512 bytes), and a second
// write of the result must give exactly the same bytes (the conversion to
// encoding 2 and the cut happen once).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "container/kvx_tag.h"
#include "container/tag_frame_body.h"
#include "container/tag_layout.h"

using namespace container;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The text a frame carries: a text frame's text, a "TXXX" value; other
// kinds give nothing to compare.
bool TextOf(const TagFrame& frame, std::u16string& out) {
  FrameKind kind;
  if (!ClassifyFrameId(frame.id(), kind) || frame.bodySize() == 0) return false;
  if (kind == FrameKind::kText)
    return IsOk(DecodeText(frame.body()[0], frame.body() + 1, frame.bodySize() - 1, out));
  if (kind == FrameKind::kUserText) {
    DescribedFields f;
    if (!IsOk(SplitDescribedBody(kind, frame.body(), frame.bodySize(), f))) return false;
    return IsOk(DecodeText(f.encoding, frame.body() + f.valueOffset, frame.bodySize() - f.valueOffset, out));
  }
  return false;
}

std::vector<std::pair<std::string, std::string>> KeysOf(const KVXTag& tag) {
  std::vector<std::pair<std::string, std::string>> keys;
  for (const auto& e : tag.entries()) keys.emplace_back(e.frame->id(), e.key);
  std::sort(keys.begin(), keys.end());
  return keys;
}

void RoundTrip(const KVXTag& original, WriteOrder order) {
  KVXTag tag = original;
  Bytes frames;
  KvxFileRet r = tag.serialise(order, frames);
  // A frame whose text cannot be converted stops the write; nothing else may.
  if (!IsOk(r)) {
    Check(r == KvxFileRet::kMalformed);
    return;
  }
  Check(tag.frameCount() == 0);
  Bytes image;
  r = LayOutTag(original.hasHeader() ? &original.header() : nullptr, original.length(), frames, image);
  if (!IsOk(r)) {
    Check(r == KvxFileRet::kTagTooLarge);
    return;
  }
  Check(image.size() % kTagPaddingUnit == 0 || image.size() == original.length());

  KVXTag again;
  Check(IsOk(again.parse(image.data(), image.size())));
  Check(KeysOf(again) == KeysOf(original));

  for (const auto& e : again.entries()) {
    std::u16string after, before;
    if (!TextOf(*e.frame, after)) continue;
    for (const auto& o : original.entries()) {
      if (o.key != e.key || o.frame->id() != e.frame->id() || !TextOf(*o.frame, before)) continue;
      Check(before.compare(0, after.size(), after) == 0);
      // Only the leading frames are cut, and only past 256 characters.
      if (after.size() < before.size()) Check(after.size() >= 255 && after.size() <= 256);
    }
  }

  KVXTag copy = again;
  Bytes second;
  Check(IsOk(copy.serialise(order, second)));
  Check(second == frames);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KVXTag tag;
  if (!IsOk(tag.parse(data, size))) return 0;
  for (WriteOrder order : {WriteOrder::kLsi, WriteOrder::kUlinf, WriteOrder::kPlain}) RoundTrip(tag, order);
  return 0;
}
