#include "container/tag_file.h"

#include <new>

#include "container/tag_layout.h"
#include "container/tag_rewrite.h"

namespace container {

namespace {

KvxFileRet ReadTagBytes(KVXTag& tag, const sys::Path& path, TagFileOps& ops) {
  std::FILE* opened = ops.open(path, "rb");
  // A file that does not exist yet (a new track) simply has no tag.
  if (opened == nullptr) return ops.exists(path) ? KvxFileRet::kCannotAccess : KvxFileRet::kOk;
  TagFileHandle file(ops, opened);
  uint8_t header[kTagHeaderSize];
  size_t got = 0;
  if (!ops.read(file.get(), header, sizeof header, got)) return KvxFileRet::kCannotAccess;
  if (got < sizeof header || !HasTagMagic(header)) return KvxFileRet::kOk;
  uint32_t length = 0;
  KvxFileRet r = TagLengthOf(header, length);
  if (!IsOk(r)) return r;
  // Checked before the buffer is allocated: a damaged size field must not
  // cost 256 MiB of memory.
  uint64_t fileSize = 0;
  if (!ops.fileSize(path, fileSize)) return KvxFileRet::kCannotAccess;
  if (fileSize < length) return KvxFileRet::kInconsistent;
  Bytes image(length);
  if (!ops.seek(file.get(), 0)) return KvxFileRet::kCannotAccess;
  if (!ops.read(file.get(), image.data(), image.size(), got)) return KvxFileRet::kCannotAccess;
  if (got < image.size()) return KvxFileRet::kInconsistent;  // the file shrank meanwhile
  return tag.parse(image.data(), image.size());
}

}  // namespace

KvxFileRet ReadTagFile(KVXTag& tag, const sys::Path& path, TagFileOps& ops) {
  tag.clear();
  if (path.empty()) return KvxFileRet::kNoFileName;
  try {
    return ReadTagBytes(tag, path, ops);
  } catch (const std::bad_alloc&) {
    return KvxFileRet::kOutOfMemory;
  }
}

KvxFileRet WriteTagFile(KVXTag& tag, const sys::Path& path, WriteOrder order, TagFileOps& ops) {
  return WriteTagFile(tag, path, order, ops, TargetCheck::kAsk);
}

KvxFileRet WriteTagFile(KVXTag& tag, const sys::Path& path, WriteOrder order, TagFileOps& ops,
                        TargetCheck check) {
  if (path.empty()) return KvxFileRet::kNoFileName;
  try {
    if (check == TargetCheck::kAsk && ops.exists(path)) {
      bool readOnly = false;
      if (!ops.readOnly(path, readOnly)) return KvxFileRet::kFailed;
      if (readOnly) return KvxFileRet::kReadOnly;
    }
    const uint64_t oldLength = tag.length();
    const bool hadHeader = tag.hasHeader();
    const TagHeader oldHeader = tag.header();
    Bytes frames;
    KvxFileRet r = tag.serialise(order, frames);
    if (!IsOk(r)) return r;
    Bytes image;
    r = LayOutTag(hadHeader ? &oldHeader : nullptr, oldLength, frames, image);
    if (!IsOk(r)) return r;
    if (image.empty() && oldLength == 0) return KvxFileRet::kOk;  // no tag before, none after
    return RewriteWithTag(ops, path, image, oldLength, check == TargetCheck::kNewFile);
  } catch (const std::bad_alloc&) {
    return KvxFileRet::kOutOfMemory;
  }
}

}  // namespace container
