#include "container/fringe_editor.h"

#include <new>

#include "container/tag_file.h"
#include "container/tag_frame_body.h"

namespace container {

namespace {

// The longest value Set passes on, in characters.
constexpr size_t kMaxValueChars = 0x0FFFFFFF;

HRESULT Mapped(KvxFileRet code) { return KvxFileRetToHresult(code); }

}  // namespace

KVXFringeEditor::KVXFringeEditor(TagFileOps& ops) : m_ops(ops) {}

KVXFringeEditor::~KVXFringeEditor() {
  // A critical section must not be deleted while it is held.
  while (m_nLockCount.load() > 0) releaseLock();
}

HRESULT KVXFringeEditor::Open(const sys::Path& path, uint32_t mode) { return openCaught(path, mode, nullptr, 0); }

HRESULT KVXFringeEditor::Open(const char* ansiPath, uint32_t mode) {
  if (ansiPath == nullptr) return hr::kInvalidArg;
  try {
    return Open(sys::PathFromAnsi(ansiPath), mode);
  } catch (...) {
    return hr::kFail;
  }
}

HRESULT KVXFringeEditor::OpenNew(const sys::Path& path, uint32_t mode, const uint8_t* image, size_t size) {
  if (image == nullptr) return hr::kInvalidArg;
  return openCaught(path, mode, image, size);
}

// Both ways of opening: nothing thrown leaves the editor half open.
HRESULT KVXFringeEditor::openCaught(const sys::Path& path, uint32_t mode, const uint8_t* image, size_t size) {
  try {
    if (image == nullptr) return open(path, mode, nullptr);
    const Bytes created(image, image + size);
    return open(path, mode, &created);
  } catch (const std::bad_alloc&) {
    close();
    return hr::kOutOfMemory;
  } catch (...) {
    close();
    return hr::kFail;
  }
}

HRESULT KVXFringeEditor::Set(uint32_t type, uint32_t subCode, const std::vector<std::u16string>& values,
                             uint32_t encoding, uint8_t flags) {
  try {
    return set(type, subCode, values, encoding, flags);
  } catch (const std::bad_alloc&) {
    return hr::kOutOfMemory;
  } catch (...) {
    return hr::kFail;
  }
}

HRESULT KVXFringeEditor::Commit(uint32_t kind) {
  HRESULT result = hr::kOk;
  try {
    result = write(kind);
  } catch (const std::bad_alloc&) {
    result = hr::kOutOfMemory;
  } catch (...) {
    result = hr::kFail;
  }
  close();
  return result;
}

HRESULT KVXFringeEditor::open(const sys::Path& path, uint32_t mode, const Bytes* created) {
  // A second Open would take the lock twice while Commit releases it once.
  if (m_bOpen) return hr::kUnexpected;
  if (path.empty() || mode < kFringeOpenRead || mode > kFringeOpenWriteProtected) return hr::kInvalidArg;
  m_path = path;
  m_nMode = mode;
  // A file still to be created has nothing to ask about: asking costs a
  // trip to the file system for every track.
  if (mode != kFringeOpenRead && created == nullptr && m_ops.exists(path)) {
    bool readOnly = false;
    if (!m_ops.readOnly(path, readOnly) || readOnly) {
      m_nMode = 0;
      return hr::kFail;
    }
  }
  auto tag = std::make_unique<KVXTag>();
  takeLock();
  KvxFileRet r;
  try {
    r = created != nullptr ? tag->parse(created->data(), created->size()) : ReadTagFile(*tag, path, m_ops);
  } catch (...) {
    m_nMode = 0;
    releaseLock();
    throw;
  }
  if (!IsOk(r)) {
    // The partly read tag is dropped: written back, it would lose every
    // frame after the one that failed.
    m_nMode = 0;
    releaseLock();
    return Mapped(r);
  }
  m_pTag = std::move(tag);
  m_bCreated = created != nullptr;
  // A new file is written even if no value is set: Commit creates it.
  m_bChanged = m_bCreated;
  m_bOpen = true;
  return hr::kOk;
}

HRESULT KVXFringeEditor::set(uint32_t type, uint32_t subCode, const std::vector<std::u16string>& values,
                             uint32_t encoding, uint8_t flags) {
  if (!m_pTag) return hr::kFail;
  FringeAddress address;
  if (!ResolveFringeAddress(type, subCode, address)) return hr::kFail;
  if (m_nMode == kFringeOpenRead) return hr::kFalse;
  if (!address.multiValue && !address.repeatable && values.size() > 1) return hr::kInvalidArg;
  if (address.isProtected && m_nMode != kFringeOpenWriteProtected) return hr::kFalse;

  // The address's old frames go first, even if building the new ones fails.
  for (size_t i = 1;; ++i) {
    const KvxFileRet r = m_pTag->removeFrames(address.frameId, FringeValueDescription(address, i));
    if (r == KvxFileRet::kNoFrames) break;
    if (!IsOk(r)) return Mapped(r);
    m_bChanged = true;
    if (!address.multiValue) break;
  }
  if (values.empty()) return hr::kOk;

  std::vector<TagFrame> frames(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    const std::u16string& value = values[i];
    const std::u16string text = value.size() >= kMaxValueChars ? value.substr(0, kMaxValueChars) : value;
    const KvxFileRet r =
        BuildFrame(address.frameId, FringeValueDescription(address, i + 1), encoding, text, flags, frames[i]);
    if (!IsOk(r)) return Mapped(r);
  }
  for (TagFrame& frame : frames) {
    const KvxFileRet r = m_pTag->insertFrame(std::move(frame));
    if (!IsOk(r)) return Mapped(r);
    m_bChanged = true;
  }
  return hr::kOk;
}

HRESULT KVXFringeEditor::write(uint32_t kind) {
  WriteOrder order;
  switch (kind) {
    case kFringeCommitLsi:
    case kFringeCommitLsiAlso:
      order = WriteOrder::kLsi;
      break;
    case kFringeCommitUlinf:
      order = WriteOrder::kUlinf;
      break;
    case kFringeCommitPlain:
      order = WriteOrder::kPlain;
      break;
    default:
      return hr::kInvalidArg;
  }
  if (!m_bOpen || !m_pTag || m_nMode == kFringeOpenRead || !m_bChanged) return hr::kOk;
  // The plain order has no place for the library object, which would be
  // lost; such a tag is not written at all.
  if (order == WriteOrder::kPlain && m_pTag->hasObject("LMR_LSI"))
    return Mapped(KvxFileRet::kLsiInPlainOrder);
  const KvxFileRet r = WriteTagFile(*m_pTag, m_path, order, m_ops,
                                    m_bCreated ? TargetCheck::kNewFile : TargetCheck::kAsk);
  if (!IsOk(r)) return Mapped(r);
  m_bChanged = false;
  return hr::kOk;
}

void KVXFringeEditor::close() {
  const bool wasOpen = m_bOpen;
  m_bOpen = false;
  m_pTag.reset();
  m_bChanged = false;
  m_bCreated = false;
  m_nMode = 0;
  if (wasOpen) releaseLock();
}

void KVXFringeEditor::takeLock() {
  m_nLockCount.fetch_add(1);
  m_lock.lock();
}

void KVXFringeEditor::releaseLock() {
  long count = m_nLockCount.load();
  while (count > 0) {
    if (m_nLockCount.compare_exchange_weak(count, count - 1)) {
      m_lock.unlock();
      return;
    }
  }
}

}  // namespace container
