// The five body kinds of a tag frame: building a frame from texts, finding
// the fields of described bodies, the key a frame is indexed under, the
// conversion of a stored frame to encoding 2 and the cut of a value.
//
// Bodies, after the 10-byte header:
//   text   "T..."  encoding, text (no terminator)
//   URL    "W..."  ANSI URL (no encoding byte, no terminator; empty: 0x00)
//   "TXXX"         encoding, description + terminator, value
//   "WXXX"         encoding, description + terminator, ANSI URL
//   "GEOB"         encoding, ANSI MIME type + 0x00, file name + terminator,
//                  description + terminator, object bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "container/tag_frame.h"

namespace container {

// Fields of a described body ("TXXX", "WXXX", "GEOB"), as offsets into the
// body. Sizes exclude terminators; the MIME type and file name exist only
// in "GEOB" bodies.
struct DescribedFields {
  uint8_t encoding = 0;
  size_t mimeOffset = 0, mimeSize = 0;
  size_t fileNameOffset = 0, fileNameSize = 0;
  size_t descriptionOffset = 0, descriptionSize = 0;
  size_t valueOffset = 0;  // value, URL or object: up to the end of the body
};

// Splits a described body. An empty body, a missing terminator or an
// unknown encoding are refused: kInconsistent for an unknown encoding in a
// "TXXX" body, kMalformed otherwise.
KvxFileRet SplitDescribedBody(FrameKind kind, const uint8_t* body, size_t size, DescribedFields& out);

// Where a frame is indexed.
enum class FrameIndex {
  kByText,   // ordinary frames by identifier, "TXXX" and "WXXX" by description
  kObjects,  // "GEOB" by description
  kLinks,    // "WOAR" and "WCOM" by identifier, several of each
};

// The index and key of a stored frame: its identifier, or for "TXXX",
// "WXXX" and "GEOB" its description in the ANSI code page. Unknown
// identifiers, empty identifiers and empty descriptions are kMalformed.
KvxFileRet FrameKeyOf(const TagFrame& frame, FrameIndex& index, std::string& key);

// The index and key under which the frames of an identifier and
// description are found (the description counts only for described kinds).
KvxFileRet LookupKeyOf(std::string_view id, const std::u16string& description, FrameIndex& index,
                       std::string& key);

// Builds one frame. The description is used by "TXXX", "WXXX" and "GEOB"
// (where it is the object's description) and ignored by the other kinds.
// A "GEOB" frame built here has an empty MIME type and file name and holds
// the value as its object, in the frame's encoding. The first flags byte is
// flags0, the second 0.
KvxFileRet BuildFrame(std::string_view id, const std::u16string& description, uint32_t encoding,
                      const std::u16string& value, uint8_t flags0, TagFrame& out);

// Rewrites a text, "TXXX", "WXXX" or "GEOB" frame stored in encoding 0 or 1
// in encoding 2 with the same fields; frames in encoding 2 and URL frames
// are left as they are. kMalformed for a frame that cannot be converted.
KvxFileRet NormaliseFrame(TagFrame& frame);

// The most a leading text frame's value may hold once written.
constexpr size_t kMaxLeadingValueBytes = 512;

// Cuts the value of a text, "TXXX" or "WXXX" frame to at most maxBytes
// bytes (the body after its encoding byte, or after the description). A
// UTF-16 value is never cut inside a surrogate pair.
KvxFileRet CutFrameValue(TagFrame& frame, size_t maxBytes);

}  // namespace container
