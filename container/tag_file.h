// Reading a track file's tag into a KVXTag and writing a KVXTag back into
// the file.
#pragma once

#include "container/kvx_tag.h"
#include "container/tag_file_ops.h"

namespace container {

// Replaces tag with the tag at the start of the file. A missing file, or one
// shorter than a tag header or not starting with a tag magic, has no tag
// (kOk, empty tag). kNoFileName for an empty path; kCannotAccess for a file
// that exists but cannot be opened or read; otherwise the parse's code.
KvxFileRet ReadTagFile(KVXTag& tag, const sys::Path& path, TagFileOps& ops = DefaultTagFileOps());

// Serialises the tag in the write order (emptying it), lays the new tag out
// against the length the tag had in the file, and rewrites the file. A
// target that exists must be writable: kReadOnly when it is marked
// read-only, kFailed when its attributes cannot be read. A file that had no
// tag and gets none is left alone.
KvxFileRet WriteTagFile(KVXTag& tag, const sys::Path& path, WriteOrder order,
                        TagFileOps& ops = DefaultTagFileOps());

// Whether the target's attributes are asked before a write. A new file (it
// does not exist yet, or whatever is there is to be replaced) is created
// holding the tag, with no question asked: asking costs trips to the file
// system.
enum class TargetCheck { kAsk, kNewFile };
KvxFileRet WriteTagFile(KVXTag& tag, const sys::Path& path, WriteOrder order, TagFileOps& ops,
                        TargetCheck check);

}  // namespace container
