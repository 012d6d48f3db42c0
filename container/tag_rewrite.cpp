#include "container/tag_rewrite.h"

#include <array>
#include <new>

namespace container {

namespace {

// Deletes the temporary file on every way out of the rewrite.
class TempFileRemover {
 public:
  TempFileRemover(TagFileOps& ops, sys::Path path) : m_ops(ops), m_path(std::move(path)) {}
  ~TempFileRemover() {
    if (m_ops.exists(m_path)) m_ops.deleteFile(m_path);
  }
  TempFileRemover(const TempFileRemover&) = delete;
  TempFileRemover& operator=(const TempFileRemover&) = delete;

 private:
  TagFileOps& m_ops;
  sys::Path m_path;
};

KvxFileRet WriteAll(TagFileOps& ops, std::FILE* file, const uint8_t* data, size_t size) {
  return ops.write(file, data, size) == size ? KvxFileRet::kOk : KvxFileRet::kWriteIncomplete;
}

KvxFileRet RewriteInPlace(TagFileOps& ops, const sys::Path& target, const Bytes& tag, bool targetIsNew) {
  // "r+b" keeps the content after the tag; a target that vanished since the
  // read is created. A new one is created as new ("wbx"), which spares the
  // file system a truncation; a file that appeared at its path meanwhile
  // is replaced.
  std::FILE* opened = ops.open(target, targetIsNew ? "wbx" : "r+b");
  if (opened == nullptr && (targetIsNew || !ops.exists(target))) opened = ops.open(target, "wb");
  TagFileHandle file(ops, opened);
  if (!file) return KvxFileRet::kCannotAccess;
  if (!targetIsNew && !ops.seek(file.get(), 0)) return KvxFileRet::kCannotAccess;
  KvxFileRet r = WriteAll(ops, file.get(), tag.data(), tag.size());
  if (!IsOk(r)) return r;
  return file.close() ? KvxFileRet::kOk : KvxFileRet::kWriteIncomplete;
}

// The folder for the temporary file: the system's, else the target's own.
sys::Path TempFolderFor(TagFileOps& ops, const sys::Path& target) {
  sys::Path folder = ops.tempFolder();
  if (!folder.empty() && folder.native().size() <= kMaxTempFolderChars && ops.isDirectory(folder))
    return folder;
  sys::Path own = target.parent_path();
  return own.empty() ? sys::Path(".") : own;
}

// Appends the target's content from offset onward to out. A missing target
// adds nothing; a target that exists but cannot be read fails, or its
// content would be lost.
KvxFileRet AppendContent(TagFileOps& ops, const sys::Path& target, uint64_t offset, std::FILE* out) {
  TagFileHandle in(ops, ops.open(target, "rb"));
  if (!in) return ops.exists(target) ? KvxFileRet::kCannotAccess : KvxFileRet::kOk;
  if (!ops.seek(in.get(), offset)) return KvxFileRet::kCannotAccess;
  std::array<uint8_t, kCopyBlockSize> block;
  for (;;) {
    size_t got = 0;
    if (!ops.read(in.get(), block.data(), block.size(), got)) return KvxFileRet::kCannotAccess;
    KvxFileRet r = WriteAll(ops, out, block.data(), got);
    if (!IsOk(r)) return r;
    if (got < block.size()) return KvxFileRet::kOk;
  }
}

KvxFileRet RewriteThroughTempFile(TagFileOps& ops, const sys::Path& target, const Bytes& tag,
                                  uint64_t oldLength) {
  sys::Path temp;
  if (!ops.makeTempName(TempFolderFor(ops, target), temp)) return KvxFileRet::kFailed;
  if (temp.native().size() > kMaxTempPathChars) return KvxFileRet::kFailed;

  uint64_t targetSize = 0;
  if (ops.exists(target) && !ops.fileSize(target, targetSize)) return KvxFileRet::kFailed;
  // The temporary file will hold the target with its tag resized.
  const int64_t needed =
      static_cast<int64_t>(targetSize) + static_cast<int64_t>(tag.size()) - static_cast<int64_t>(oldLength);
  uint64_t available = 0;
  if (!ops.freeSpace(temp.parent_path(), available)) return KvxFileRet::kFailed;
  if (needed > 0 && static_cast<uint64_t>(needed) > available) return KvxFileRet::kFailed;

  TempFileRemover remover(ops, temp);
  {
    TagFileHandle out(ops, ops.open(temp, "wb"));
    if (!out) return KvxFileRet::kCannotAccess;
    KvxFileRet r = WriteAll(ops, out.get(), tag.data(), tag.size());
    if (IsOk(r)) r = AppendContent(ops, target, oldLength, out.get());
    if (!IsOk(r)) return r;
    if (!out.close()) return KvxFileRet::kWriteIncomplete;
  }

  uint64_t tempSize = 0;
  if (!ops.fileSize(temp, tempSize)) return KvxFileRet::kFailed;
  if (tempSize > targetSize) {
    sys::Path targetFolder = target.parent_path();
    if (targetFolder.empty()) targetFolder = ".";
    if (!ops.freeSpace(targetFolder, available)) return KvxFileRet::kFailed;
    if (tempSize - targetSize > available) return KvxFileRet::kFailed;
  }
  return ops.copyFile(temp, target) ? KvxFileRet::kOk : KvxFileRet::kFailed;
}

}  // namespace

KvxFileRet RewriteWithTag(TagFileOps& ops, const sys::Path& target, const Bytes& newTag, uint64_t oldLength,
                          bool targetIsNew) {
  try {
    // A new target has no content after its tag to keep, whatever the tag's length.
    if (targetIsNew || (newTag.size() == oldLength && oldLength != 0))
      return RewriteInPlace(ops, target, newTag, targetIsNew);
    return RewriteThroughTempFile(ops, target, newTag, oldLength);
  } catch (const std::bad_alloc&) {
    return KvxFileRet::kOutOfMemory;
  }
}

}  // namespace container
