#include "mp3/id3v1_tag.h"

#include <cstring>

#include "mp3/ascii.h"
#include "mp3/genre_table.h"

namespace mp3 {

namespace {

constexpr size_t kFieldSize = 30;
constexpr size_t kTitleOffset = 3;
constexpr size_t kArtistOffset = 33;
constexpr size_t kAlbumOffset = 63;
constexpr size_t kGenreOffset = 127;

std::string Field(const uint8_t* tail, size_t offset) {
  const uint8_t* f = tail + offset;
  // Writers that leave a field unused fill it with zero bytes or with 0xFF.
  if ((f[0] == 0x00 && f[1] == 0x00 && f[2] == 0x00) || (f[0] == 0xFF && f[1] == 0xFF && f[2] == 0xFF))
    return std::string();
  const void* zero = std::memchr(f, 0, kFieldSize);
  const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - f) : kFieldSize;
  return std::string(reinterpret_cast<const char*>(f), n);
}

}  // namespace

bool LooksLikeId3v1(const uint8_t* tail) { return StartsWithIgnoringCase(tail, 3, "tag"); }

NarrowTagTexts ParseId3v1Tag(const uint8_t* tail) {
  NarrowTagTexts out;
  if (std::memcmp(tail, "TAG", 3) != 0) return out;
  out.title = Field(tail, kTitleOffset);
  out.artist = Field(tail, kArtistOffset);
  out.album = Field(tail, kAlbumOffset);
  if (const char* genre = GenreName(tail[kGenreOffset])) out.genre = genre;
  return out;
}

}  // namespace mp3
