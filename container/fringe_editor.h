// KVXFringeEditor: sets the texts of a track file's tag by frame type and
// sub-code (fringe_ids.h). Calling order: construct, Open, any number of
// Set, Commit, destroy. Nothing reaches the file before Commit.
//
// The editor holds its lock from a successful Open to Commit, on the thread
// that opened it. Two editors on the same file are not kept apart.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/hresult.h"
#include "container/fringe_ids.h"
#include "container/fringe_lock.h"
#include "container/kvx_tag.h"
#include "container/tag_file_ops.h"

namespace container {

// Open modes.
constexpr uint32_t kFringeOpenRead = 1;            // read only: Set declines, Commit writes nothing
constexpr uint32_t kFringeOpenWrite = 2;           // read and write
constexpr uint32_t kFringeOpenWriteProtected = 3;  // read and write, protected addresses included

// Commit kinds: which write order the tag is written in.
constexpr uint32_t kFringeCommitLsi = 0;
constexpr uint32_t kFringeCommitUlinf = 1;
constexpr uint32_t kFringeCommitLsiAlso = 2;
constexpr uint32_t kFringeCommitPlain = 3;

class KVXFringeEditor {
 public:
  // ops: the file operations of the read and the rewrite (tests pass their
  // own to make steps fail).
  explicit KVXFringeEditor(TagFileOps& ops = DefaultTagFileOps());
  // Releases the lock if Commit was never called.
  ~KVXFringeEditor();
  KVXFringeEditor(const KVXFringeEditor&) = delete;
  KVXFringeEditor& operator=(const KVXFringeEditor&) = delete;

  // Reads the file's tag. A file that does not exist yet has an empty tag.
  // E_INVALIDARG for an empty path or a mode outside 1 to 3, or a tag this
  // library cannot read; E_FAIL in modes 2 and 3 for a read-only file;
  // E_UNEXPECTED when the editor is open already. On success the lock is
  // held until Commit; on failure it is released and the editor stays
  // closed.
  HRESULT Open(const sys::Path& path, uint32_t mode);
  // The same for a path in the ANSI code page; null is E_INVALIDARG.
  HRESULT Open(const char* ansiPath, uint32_t mode);
  // The same for a file that does not exist yet: the tag starts as the
  // image given here, and Commit creates the file holding only the tag
  // (replacing whatever may have appeared at the path since). One creation
  // is all a new file costs: nothing is read back or asked about.
  HRESULT OpenNew(const sys::Path& path, uint32_t mode, const uint8_t* image, size_t size);

  // Sets the values of an address (each becomes one frame) in the given
  // encoding, with flags as every frame's first flags byte; no values
  // empties the address. S_OK; S_FALSE when declined (mode 1, or a
  // protected address outside mode 3); E_FAIL when not open or for an
  // invalid type or sub-code; E_INVALIDARG for several values at a
  // single-value address. A failure leaves the address's old frames
  // removed (in memory only).
  HRESULT Set(uint32_t type, uint32_t subCode, const std::vector<std::u16string>& values, uint32_t encoding,
              uint8_t flags);

  // Writes the tag back if it was changed, in the order of kind, then
  // closes the editor and releases the lock, whatever the outcome.
  // E_INVALIDARG for an unknown kind (nothing is written); 0x8004040E when
  // the plain order is asked for a tag that holds the "LMR_LSI" object; the
  // write's failure mapped to an HRESULT.
  HRESULT Commit(uint32_t kind);

  bool isOpen() const { return m_bOpen; }

 private:
  // created: the file's whole content, just written by the caller; null
  // when the tag is read from the file.
  HRESULT openCaught(const sys::Path& path, uint32_t mode, const uint8_t* image, size_t size);
  HRESULT open(const sys::Path& path, uint32_t mode, const Bytes* created);
  HRESULT set(uint32_t type, uint32_t subCode, const std::vector<std::u16string>& values, uint32_t encoding,
              uint8_t flags);
  HRESULT write(uint32_t kind);
  void close();

  void takeLock();
  // Decrements the lock counter and unlocks, only if the counter was above
  // zero: an unmatched release does nothing.
  void releaseLock();

  TagFileOps& m_ops;
  sys::Path m_path;
  uint32_t m_nMode = 0;
  std::unique_ptr<KVXTag> m_pTag;
  bool m_bChanged = false;
  bool m_bOpen = false;
  bool m_bCreated = false;  // opened by OpenNew: Commit creates the file
  KVXFringeLock m_lock;
  std::atomic<long> m_nLockCount{0};
};

}  // namespace container
