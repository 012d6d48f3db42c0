// The JSON lines "kvxtag show" prints: one for the tag, one per frame.
#pragma once

#include <string>

#include "container/kvx_tag.h"

namespace tools {

// {"path": ..., "magic": "kvx", "version": "3.0", "flags": "00",
//  "length": 3072, "frames": 4}; "magic" is null for a file without tag.
std::string TagJson(const std::string& pathUtf8, const container::KVXTag& tag);

// {"id": "TXXX", "key": "LMR_TRACK", "encoding": 2, "description": ...,
//  "text": ..., "size": 21, "flags": "0000"}. "encoding" is null for URL
// frames, which have none; "text" is null when the text cannot be decoded.
// "GEOB" frames give "mime", "file_name" and "object_size" instead of
// "text".
std::string FrameJson(const container::KVXTag::Entry& entry);

}  // namespace tools
