// Builds leading (ID3v2) and trailing (ID3v1) tags byte by byte for the
// analyser's tests. Sizes are computed here, independently of the code under
// test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mp3test {

using Bytes = std::vector<uint8_t>;

Bytes Ascii(const std::string& text);
Bytes Utf16Le(const std::u16string& text);
Bytes Utf16Be(const std::u16string& text);
Bytes Join(std::initializer_list<Bytes> parts);

// Seven bits per byte, most significant first.
Bytes Synchsafe(uint32_t value);

// Text frame data: the encoding byte followed by the text bytes.
Bytes Text(uint8_t encoding, const Bytes& text);

// One frame of a tag of this major version: 2.2 a three-letter id and a
// 24-bit size; 2.3 a 32-bit size; 2.4 a synchsafe size; 2.3 and 2.4 two zero
// flag bytes. sizeOverride replaces the size field's value.
Bytes Frame(unsigned version, const std::string& id, const Bytes& data, int64_t sizeOverride = -1);

// "ID3", version, revision 0, flags, the synchsafe size of everything after
// the header, then extended header, frames and padding zero bytes.
Bytes Tag(unsigned version, const std::vector<Bytes>& frames, uint8_t flags = 0, const Bytes& extended = {},
          size_t padding = 0);

// 128 bytes: "TAG", title, artist, album (30 bytes each, zero-filled), year,
// comment, genre byte.
Bytes TrailingTag(const std::string& title, const std::string& artist, const std::string& album,
                  uint8_t genre = 255);

}  // namespace mp3test
