#include "container/tag_text.h"

#include "platform/codepage.h"

namespace container {

namespace {

constexpr char kUnmappable = '?';

void AppendUtf16(const std::u16string& text, bool bigEndian, Bytes& out) {
  out.reserve(out.size() + 2 * text.size());
  for (char16_t c : text) {
    const auto high = static_cast<uint8_t>(c >> 8);
    const auto low = static_cast<uint8_t>(c & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
}

}  // namespace

std::u16string Utf16FromBytes(const uint8_t* data, size_t size, bool bigEndian) {
  std::u16string out(size / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    const uint8_t a = data[2 * i];
    const uint8_t b = data[2 * i + 1];
    out[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return out;
}

void SkipByteOrderMark(const uint8_t*& data, size_t& size, bool& bigEndian) {
  if (size < 2) return;
  if (data[0] == 0xFF && data[1] == 0xFE) {
    bigEndian = false;
  } else if (data[0] == 0xFE && data[1] == 0xFF) {
    bigEndian = true;
  } else {
    return;
  }
  data += 2;
  size -= 2;
}

KvxFileRet AppendEncodedText(uint32_t encoding, const std::u16string& text, bool byteOrderMark, Bytes& out) {
  switch (encoding) {
    case kEncodingAnsi:
      return AppendAnsiText(text, out);
    case kEncodingUtf16WithBom:
      if (byteOrderMark) {
        out.push_back(0xFF);
        out.push_back(0xFE);
      }
      AppendUtf16(text, false, out);
      return KvxFileRet::kOk;
    case kEncodingUtf16BigEndian:
      AppendUtf16(text, true, out);
      return KvxFileRet::kOk;
    default:
      return KvxFileRet::kUnknownEncoding;
  }
}

KvxFileRet AppendAnsiText(const std::u16string& text, Bytes& out) {
  std::string ansi;
  if (!sys::FromUtf16(sys::kAnsiCodePage, text, ansi, sys::kNoLimit, kUnmappable))
    return KvxFileRet::kConversionFailed;
  out.insert(out.end(), ansi.begin(), ansi.end());
  return KvxFileRet::kOk;
}

KvxFileRet AppendTerminator(uint32_t encoding, Bytes& out) {
  const size_t width = TerminatorWidth(encoding);
  if (width == 0) return KvxFileRet::kMalformed;
  out.insert(out.end(), width, 0x00);
  return KvxFileRet::kOk;
}

size_t TerminatorWidth(uint32_t encoding) {
  switch (encoding) {
    case kEncodingAnsi:
      return 1;
    case kEncodingUtf16WithBom:
    case kEncodingUtf16BigEndian:
      return 2;
    default:
      return 0;
  }
}

bool FindTerminator(uint32_t encoding, const uint8_t* data, size_t size, size_t& textBytes) {
  const size_t width = TerminatorWidth(encoding);
  if (width == 1) {
    for (size_t i = 0; i < size; ++i) {
      if (data[i] == 0) {
        textBytes = i;
        return true;
      }
    }
    return false;
  }
  if (width == 2) {
    for (size_t i = 0; i + 1 < size; i += 2) {
      if (data[i] == 0 && data[i + 1] == 0) {
        textBytes = i;
        return true;
      }
    }
  }
  return false;
}

KvxFileRet DecodeText(uint32_t encoding, const uint8_t* data, size_t size, std::u16string& out) {
  out.clear();
  switch (encoding) {
    case kEncodingAnsi: {
      std::string narrow(reinterpret_cast<const char*>(data), size);
      return sys::ToUtf16(sys::kAnsiCodePage, narrow, out) ? KvxFileRet::kOk : KvxFileRet::kConversionFailed;
    }
    case kEncodingUtf16WithBom: {
      if (size % 2 != 0) return KvxFileRet::kMalformed;
      bool bigEndian = false;
      SkipByteOrderMark(data, size, bigEndian);
      out = Utf16FromBytes(data, size, bigEndian);
      return KvxFileRet::kOk;
    }
    case kEncodingUtf16BigEndian:
      if (size % 2 != 0) return KvxFileRet::kMalformed;
      out = Utf16FromBytes(data, size, true);
      return KvxFileRet::kOk;
    default:
      return KvxFileRet::kMalformed;
  }
}

KvxFileRet AnsiKeyOf(const std::u16string& text, std::string& out) {
  return sys::FromUtf16(sys::kAnsiCodePage, text, out, sys::kNoLimit, kUnmappable)
             ? KvxFileRet::kOk
             : KvxFileRet::kConversionFailed;
}

}  // namespace container
