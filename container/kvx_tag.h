// KVXTag: the tag of one track file in memory. It keeps the header as read
// and every frame as raw bytes in three indexes:
//   - by text: every frame except "GEOB", "WOAR" and "WCOM"; ordinary frames
//     under their identifier, "TXXX" and "WXXX" under their description;
//   - objects: "GEOB" frames under their description;
//   - links: "WOAR" and "WCOM" under their identifier, several of each.
// Keys are byte strings (descriptions in the ANSI code page) and compare as
// such. Storing under a key the first two indexes already hold replaces the
// frame there.
//
// A tag is filled by one parse, changed by removals and insertions, and
// emptied by serialisation, which takes the frames out in write order. One
// tag is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "container/tag_frame.h"
#include "container/tag_frame_body.h"
#include "container/tag_header.h"

namespace container {

// The order in which serialisation takes the frames out. Each starts with
// its own leading object, if present: "LMR_LSI" for kLsi, "LMR_ULINF" for
// kUlinf, none for kPlain.
enum class WriteOrder { kLsi, kUlinf, kPlain };

class KVXTag {
 public:
  // A stored frame with the key it is filed under.
  struct Entry {
    std::string key;
    const TagFrame* frame;
  };

  // Replaces this tag with the one at the start of image, which holds the
  // first size bytes of a file. Bytes that do not start with "kvx" or "ID3"
  // mean the file has no tag (kOk, no header). A tag longer than the bytes
  // given is kInconsistent. Parsing stops at two zero bytes (padding) or at
  // the end of the tag; the first refused frame ends it with its code and
  // leaves the frames before it in the tag.
  KvxFileRet parse(const uint8_t* image, size_t size);

  // Empties the tag and forgets its header.
  void clear();

  // Files a frame under its key. kInconsistent when its size field does not
  // match its bytes, kMalformed for an unknown identifier, an empty body or
  // an empty description.
  KvxFileRet insertFrame(TagFrame frame);

  // Removes the frames filed under the key of id and description: every
  // "WOAR" or every "WCOM" frame, else the one frame there. kNoFrames when
  // there was none.
  KvxFileRet removeFrames(std::string_view id, const std::u16string& description);

  // Takes out the next frame in write order, converted to encoding 2 (all
  // but "WOAR" and "WCOM") and, for the seven leading text frames, with its
  // value cut to 512 bytes. kNoFrames when none is left; kMalformed for a
  // frame that cannot be converted (it is gone from the tag all the same).
  KvxFileRet takeNextFrame(WriteOrder order, TagFrame& out);

  // Serialises all frames in write order into out (headers and bodies,
  // nothing else), emptying the tag. The first failure ends it.
  KvxFileRet serialise(WriteOrder order, Bytes& out);

  // kProtected when the stored frame is marked read-only, kNotProtected when
  // not, kNoFrames when there is no such frame.
  KvxFileRet queryProtection(std::string_view id, const std::u16string& description) const;

  bool hasObject(std::string_view description) const;
  size_t frameCount() const { return m_byText.size() + m_objects.size() + m_links.size(); }
  // The frames in the order they were filed (file order for a parsed tag).
  std::vector<Entry> entries() const;

  // The header as read from the file, and the tag's length there (header
  // included; 0 when the file has no tag).
  bool hasHeader() const { return m_bHasHeader; }
  const TagHeader& header() const { return m_header; }
  uint32_t length() const { return m_nLength; }

 private:
  // What takeInWriteOrder found, which decides how the frame is finished.
  enum class Taken { kNothing, kLeadingText, kLink, kOther };
  Taken takeInWriteOrder(WriteOrder order, TagFrame& out);

  struct Stored {
    TagFrame frame;
    uint64_t sequence = 0;
  };
  using KeyedFrames = std::map<std::string, Stored>;
  using RepeatedFrames = std::multimap<std::string, Stored>;

  KeyedFrames m_byText;
  KeyedFrames m_objects;
  RepeatedFrames m_links;
  uint64_t m_nNextSequence = 0;
  bool m_bHasHeader = false;
  TagHeader m_header{};
  uint32_t m_nLength = 0;
};

}  // namespace container
