// Putting a new tag in front of a file's content. When the tag keeps its
// length it is written over the old one in place; otherwise the file is
// rebuilt in a temporary file (new tag, then the content after the old tag)
// which is then copied over the target. The target is never truncated in
// place: every failure before the final copy leaves it untouched, and the
// temporary file is removed on every way out.
#pragma once

#include <cstdint>

#include "container/kvx_file_ret.h"
#include "container/tag_file_ops.h"
#include "container/tag_text.h"

namespace container {

// Longest temporary folder taken from the system, and longest temporary
// path, in characters: the limits of the Win32 path buffers.
constexpr size_t kMaxTempFolderChars = 256;
constexpr size_t kMaxTempPathChars = 260;
// Block size of the content copy.
constexpr size_t kCopyBlockSize = 4096;

// Writes newTag in place of the oldLength bytes at the start of target; a
// new target (targetIsNew) is created holding the tag alone.
// Codes: kCannotAccess (a file could not be opened, positioned or read),
// kWriteIncomplete (a write or its flush fell short), kFailed (no temporary
// name, temporary path too long, not enough free space on either drive, a
// size unreadable, the copy over the target refused).
KvxFileRet RewriteWithTag(TagFileOps& ops, const sys::Path& target, const Bytes& newTag, uint64_t oldLength,
                          bool targetIsNew = false);

}  // namespace container
