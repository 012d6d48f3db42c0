// Text inside tag frames: the three encodings a frame body may declare in
// its first byte, and the terminators that end described fields. Text is
// UTF-16 inside the program; encoding 0 is the system ANSI code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "container/kvx_file_ret.h"

namespace container {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kEncodingAnsi = 0;
constexpr uint8_t kEncodingUtf16WithBom = 1;  // written as 0xFF 0xFE and little-endian text
constexpr uint8_t kEncodingUtf16BigEndian = 2;

// Appends the text in encoding 0, 1 or 2, without a terminator. For
// encoding 1, byteOrderMark says whether 0xFF 0xFE goes first. An encoding
// of 3 or more gives kUnknownEncoding; an ANSI conversion failure
// kConversionFailed.
KvxFileRet AppendEncodedText(uint32_t encoding, const std::u16string& text, bool byteOrderMark, Bytes& out);

// Appends the text converted to the ANSI code page (URLs, MIME types).
KvxFileRet AppendAnsiText(const std::u16string& text, Bytes& out);

// Appends the terminator of a described field: one 0x00 for encoding 0, two
// for encodings 1 and 2, kMalformed for anything else.
KvxFileRet AppendTerminator(uint32_t encoding, Bytes& out);

// Width of the terminator in the encoding; 0 for an unknown encoding.
size_t TerminatorWidth(uint32_t encoding);

// Finds the terminator of a field that starts at data: textBytes receives
// the length of the text before it. UTF-16 terminators are looked for on
// two-byte boundaries only, so a 0x00 0x00 straddling two characters does
// not end the field. False when there is no terminator within size bytes.
bool FindTerminator(uint32_t encoding, const uint8_t* data, size_t size, size_t& textBytes);

// UTF-16 code units from bytes in the given byte order; an odd last byte is
// dropped.
std::u16string Utf16FromBytes(const uint8_t* data, size_t size, bool bigEndian);

// Steps over a leading byte-order mark (0xFF 0xFE little-endian, 0xFE 0xFF
// big-endian) and sets bigEndian from it; without a mark changes nothing.
void SkipByteOrderMark(const uint8_t*& data, size_t& size, bool& bigEndian);

// Decodes size bytes of text in the encoding. Encoding 1 is read by its
// byte-order mark (0xFF 0xFE little-endian, 0xFE 0xFF big-endian); text
// without a mark is taken as little-endian, as Windows writers produce it.
// kMalformed for an unknown encoding or an odd number of UTF-16 bytes,
// kConversionFailed when ANSI text cannot be converted.
KvxFileRet DecodeText(uint32_t encoding, const uint8_t* data, size_t size, std::u16string& out);

// The text in the ANSI code page, the form descriptions take as index keys.
// Characters the code page cannot hold become '?'.
KvxFileRet AnsiKeyOf(const std::u16string& text, std::string& out);

}  // namespace container
