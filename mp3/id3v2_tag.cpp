#include "mp3/id3v2_tag.h"

#include <cstring>

#include "common/byte_order.h"
#include "mp3/genre_reference.h"
#include "mp3/id3v2_text.h"

namespace mp3 {

namespace {

// Header byte 5: flags. 0x40 announces an extended header in 2.3 and 2.4
// (in 2.2 the same bit meant compression, which no writer used).
constexpr uint8_t kExtendedHeaderFlag = 0x40;

enum class Field { kTitle, kArtist, kAlbum, kGenre, kNone };

Field WantedField(unsigned majorVersion, const uint8_t* id) {
  struct Name {
    const char* v22;
    const char* v23;
    Field field;
  };
  static constexpr Name kNames[] = {
      {"TT2", "TIT2", Field::kTitle},
      {"TP1", "TPE1", Field::kArtist},
      {"TAL", "TALB", Field::kAlbum},
      {"TCO", "TCON", Field::kGenre},
  };
  for (const Name& n : kNames) {
    if (majorVersion == 2 ? std::memcmp(id, n.v22, 3) == 0 : std::memcmp(id, n.v23, 4) == 0) return n.field;
  }
  return Field::kNone;
}

// Offset of the first frame: right after the header, or after the extended
// header when one is announced. Answers false when the extended header's
// size cannot be read inside the tag.
bool FirstFrameOffset(const uint8_t* tag, size_t length, unsigned majorVersion, uint64_t& out) {
  out = kId3v2HeaderSize;
  if (majorVersion == 2 || (tag[5] & kExtendedHeaderFlag) == 0) return true;
  if (length < kId3v2HeaderSize + 4) return false;
  const uint8_t* size = tag + kId3v2HeaderSize;
  // 2.3: a plain 32-bit size that leaves out its own four bytes; 2.4: a
  // synchsafe size of the whole extended header.
  out += majorVersion == 3 ? uint64_t{4} + byte_order::ReadBig32(size)
                           : uint64_t{byte_order::ReadSynchsafe(size)};
  return true;
}

}  // namespace

uint64_t Id3v2TagLength(const uint8_t* header) {
  return kId3v2HeaderSize + uint64_t{byte_order::ReadSynchsafe(header + 6)};
}

HRESULT ParseId3v2Tag(const uint8_t* tag, size_t length, Id3v2Texts& out) {
  out = Id3v2Texts();
  if (length < kId3v2HeaderSize) return hr::kUnexpected;
  const unsigned majorVersion = tag[3];
  if (majorVersion > 4) return hr::kUnexpected;
  if (majorVersion < 2) return hr::kFail;

  const uint64_t headerSize = majorVersion == 2 ? 6 : 10;
  uint64_t pos = 0;
  if (!FirstFrameOffset(tag, length, majorVersion, pos)) return hr::kOk;

  bool found[4] = {};
  unsigned foundCount = 0;
  // A frame whose header or data would run past the end of the tag ends the
  // walk: what follows cannot be told from padding or garbage.
  while (pos + headerSize <= length) {
    const uint8_t* frame = tag + pos;
    const uint64_t dataSize = majorVersion == 2   ? byte_order::ReadBig24(frame + 3)
                              : majorVersion == 3 ? byte_order::ReadBig32(frame + 4)
                                                  : byte_order::ReadSynchsafe(frame + 4);
    if (pos + headerSize + dataSize > length) break;
    const Field field = WantedField(majorVersion, frame);
    // A text frame needs at least its encoding byte; an empty one is passed
    // over as if it were not there.
    if (field != Field::kNone && dataSize > 0) {
      FrameText decoded = DecodeFrameText(majorVersion, frame + headerSize, static_cast<size_t>(dataSize));
      out.wide = decoded.wide;
      switch (field) {
        case Field::kTitle:
          out.texts.title = std::move(decoded.text);
          break;
        case Field::kArtist:
          out.texts.artist = std::move(decoded.text);
          break;
        case Field::kAlbum:
          out.texts.album = std::move(decoded.text);
          break;
        default:
          out.texts.genre = ResolveGenreReference(decoded.text);
          break;
      }
      const auto index = static_cast<size_t>(field);
      if (!found[index]) {
        found[index] = true;
        if (++foundCount == 4) break;
      }
    }
    pos += headerSize + dataSize;
  }
  return hr::kOk;
}

}  // namespace mp3
