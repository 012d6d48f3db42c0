// Builds the files a transfer takes, byte by byte: ID3v2 and ID3v1 tags,
// RIFF wrappers, runs of MPEG frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/mpeg_stream_builder.h"

namespace devicetest {

// An ID3v2.3 text frame (encoding 0, Latin-1 text).
std::vector<uint8_t> Id3v2TextFrame(const char* id, const std::string& text);
// An ID3v2 tag around body; with footer the flag is set and a 10-byte
// footer follows.
std::vector<uint8_t> Id3v2Tag(const std::vector<uint8_t>& body, bool footer = false, uint8_t major = 3);
// A 128-byte ID3v1 tag.
std::vector<uint8_t> Id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
                              uint8_t genre);
// A RIFF file of form type form, with a "fmt " chunk of formatTag, an odd
// sized chunk (padded) in between when asked, and audio in a "data" chunk.
std::vector<uint8_t> RiffFile(const char* form, uint16_t formatTag, const std::vector<uint8_t>& audio,
                              bool oddChunk = false);

// count identical frames of the given kind, their payload bytes all fill.
std::vector<uint8_t> Frames(const testsupport::FrameSpec& kind, size_t count, uint8_t fill);

}  // namespace devicetest
