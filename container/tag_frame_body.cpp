#include "container/tag_frame_body.h"

namespace container {

namespace {

bool IsHighSurrogateBigEndian(uint8_t highByte) { return highByte >= 0xD8 && highByte <= 0xDB; }

// Decodes a field of a described body; any failure makes the frame
// unconvertible, which the write reports as malformed data.
KvxFileRet DecodeField(uint8_t encoding, const uint8_t* body, size_t offset, size_t size,
                       std::u16string& out) {
  return IsOk(DecodeText(encoding, body + offset, size, out)) ? KvxFileRet::kOk : KvxFileRet::kMalformed;
}

void AppendBigEndian(const std::u16string& text, Bytes& out) {
  AppendEncodedText(kEncodingUtf16BigEndian, text, false, out);
}

void AppendRaw(const uint8_t* data, size_t size, Bytes& out) { out.insert(out.end(), data, data + size); }

}  // namespace

KvxFileRet SplitDescribedBody(FrameKind kind, const uint8_t* body, size_t size, DescribedFields& out) {
  if (size == 0) return KvxFileRet::kMalformed;
  out = DescribedFields{};
  out.encoding = body[0];
  const size_t width = TerminatorWidth(out.encoding);
  if (width == 0) return kind == FrameKind::kUserText ? KvxFileRet::kInconsistent : KvxFileRet::kMalformed;
  size_t pos = 1;
  size_t n = 0;
  if (kind == FrameKind::kObject) {
    // The MIME type is always ANSI with a single 0x00, whatever the encoding.
    if (!FindTerminator(kEncodingAnsi, body + pos, size - pos, n)) return KvxFileRet::kMalformed;
    out.mimeOffset = pos;
    out.mimeSize = n;
    pos += n + 1;
    if (!FindTerminator(out.encoding, body + pos, size - pos, n)) return KvxFileRet::kMalformed;
    out.fileNameOffset = pos;
    out.fileNameSize = n;
    pos += n + width;
  }
  if (!FindTerminator(out.encoding, body + pos, size - pos, n)) return KvxFileRet::kMalformed;
  out.descriptionOffset = pos;
  out.descriptionSize = n;
  out.valueOffset = pos + n + width;
  return KvxFileRet::kOk;
}

KvxFileRet FrameKeyOf(const TagFrame& frame, FrameIndex& index, std::string& key) {
  if (!frame.wellFormed()) return KvxFileRet::kInconsistent;
  const std::string id = frame.id();
  FrameKind kind;
  if (!ClassifyFrameId(id, kind)) return KvxFileRet::kMalformed;
  if (kind != FrameKind::kUserText && kind != FrameKind::kUserUrl && kind != FrameKind::kObject) {
    index = IsRepeatableLinkId(id) ? FrameIndex::kLinks : FrameIndex::kByText;
    key = id;
    return KvxFileRet::kOk;
  }
  DescribedFields fields;
  KvxFileRet r = SplitDescribedBody(kind, frame.body(), frame.bodySize(), fields);
  if (!IsOk(r)) return r;
  std::u16string description;
  r = DecodeText(fields.encoding, frame.body() + fields.descriptionOffset, fields.descriptionSize,
                 description);
  if (!IsOk(r)) return r;
  // An empty description would give a key no caller can name.
  if (description.empty()) return KvxFileRet::kMalformed;
  r = AnsiKeyOf(description, key);
  if (!IsOk(r)) return r;
  index = kind == FrameKind::kObject ? FrameIndex::kObjects : FrameIndex::kByText;
  return KvxFileRet::kOk;
}

KvxFileRet LookupKeyOf(std::string_view id, const std::u16string& description, FrameIndex& index,
                       std::string& key) {
  FrameKind kind;
  if (!ClassifyFrameId(id, kind)) return KvxFileRet::kMalformed;
  switch (kind) {
    case FrameKind::kUserText:
    case FrameKind::kUserUrl:
      index = FrameIndex::kByText;
      return AnsiKeyOf(description, key);
    case FrameKind::kObject:
      index = FrameIndex::kObjects;
      return AnsiKeyOf(description, key);
    default:
      index = IsRepeatableLinkId(id) ? FrameIndex::kLinks : FrameIndex::kByText;
      key = std::string(id);
      return KvxFileRet::kOk;
  }
}

KvxFileRet BuildFrame(std::string_view id, const std::u16string& description, uint32_t encoding,
                      const std::u16string& value, uint8_t flags0, TagFrame& out) {
  FrameKind kind;
  if (!ClassifyFrameId(id, kind)) return KvxFileRet::kMalformed;
  Bytes body;
  KvxFileRet r = KvxFileRet::kOk;
  switch (kind) {
    case FrameKind::kText:
      if (TerminatorWidth(encoding) == 0) return KvxFileRet::kUnknownEncoding;
      body.push_back(static_cast<uint8_t>(encoding));
      // An empty text is the encoding byte alone, without a byte-order mark.
      r = AppendEncodedText(encoding, value, !value.empty(), body);
      break;
    case FrameKind::kUrl:
      r = AppendAnsiText(value, body);
      if (body.empty()) body.push_back(0x00);
      break;
    case FrameKind::kUserText:
      if (TerminatorWidth(encoding) == 0) return KvxFileRet::kUnknownEncoding;
      if (description.empty()) return KvxFileRet::kMalformed;
      body.push_back(static_cast<uint8_t>(encoding));
      r = AppendEncodedText(encoding, description, true, body);
      if (IsOk(r)) r = AppendTerminator(encoding, body);
      // With encoding 1 the value carries its own byte-order mark.
      if (IsOk(r)) r = AppendEncodedText(encoding, value, true, body);
      break;
    case FrameKind::kUserUrl:
      if (TerminatorWidth(encoding) == 0) return KvxFileRet::kMalformed;
      if (description.empty()) return KvxFileRet::kMalformed;
      body.push_back(static_cast<uint8_t>(encoding));
      r = AppendEncodedText(encoding, description, true, body);
      if (IsOk(r)) r = AppendTerminator(encoding, body);
      if (IsOk(r)) r = AppendAnsiText(value, body);
      break;
    case FrameKind::kObject:
      if (TerminatorWidth(encoding) == 0) return KvxFileRet::kMalformed;
      if (description.empty()) return KvxFileRet::kMalformed;
      body.push_back(static_cast<uint8_t>(encoding));
      body.push_back(0x00);                  // empty MIME type
      r = AppendTerminator(encoding, body);  // empty file name: no byte-order mark
      if (IsOk(r)) r = AppendEncodedText(encoding, description, true, body);
      if (IsOk(r)) r = AppendTerminator(encoding, body);
      if (IsOk(r)) r = AppendEncodedText(encoding, value, !value.empty(), body);
      break;
  }
  if (!IsOk(r)) return r;
  if (body.size() > 0xFFFFFFFFu) return KvxFileRet::kTagTooLarge;
  out = TagFrame(id, flags0, 0, body);
  return KvxFileRet::kOk;
}

KvxFileRet NormaliseFrame(TagFrame& frame) {
  FrameKind kind;
  if (!ClassifyFrameId(frame.id(), kind)) return KvxFileRet::kMalformed;
  // URL bodies have no encoding byte: ANSI is their only form.
  if (kind == FrameKind::kUrl) return KvxFileRet::kOk;
  const uint8_t* body = frame.body();
  const size_t size = frame.bodySize();
  if (size == 0) return KvxFileRet::kMalformed;
  const uint8_t encoding = body[0];
  if (encoding == kEncodingUtf16BigEndian) return KvxFileRet::kOk;
  if (encoding != kEncodingAnsi && encoding != kEncodingUtf16WithBom) return KvxFileRet::kMalformed;

  Bytes out{kEncodingUtf16BigEndian};
  std::u16string text;
  if (kind == FrameKind::kText) {
    if (!IsOk(DecodeField(encoding, body, 1, size - 1, text))) return KvxFileRet::kMalformed;
    AppendBigEndian(text, out);
    frame.setBody(out);
    return KvxFileRet::kOk;
  }
  DescribedFields f;
  if (!IsOk(SplitDescribedBody(kind, body, size, f))) return KvxFileRet::kMalformed;
  if (kind == FrameKind::kObject) {
    AppendRaw(body + f.mimeOffset, f.mimeSize, out);
    out.push_back(0x00);
    if (!IsOk(DecodeField(encoding, body, f.fileNameOffset, f.fileNameSize, text)))
      return KvxFileRet::kMalformed;
    AppendBigEndian(text, out);
    out.insert(out.end(), {0x00, 0x00});
  }
  if (!IsOk(DecodeField(encoding, body, f.descriptionOffset, f.descriptionSize, text)))
    return KvxFileRet::kMalformed;
  AppendBigEndian(text, out);
  out.insert(out.end(), {0x00, 0x00});
  if (kind == FrameKind::kUserText) {
    if (!IsOk(DecodeField(encoding, body, f.valueOffset, size - f.valueOffset, text)))
      return KvxFileRet::kMalformed;
    AppendBigEndian(text, out);
  } else {
    // The URL of "WXXX" and the object of "GEOB" are not text in the
    // frame's encoding: they are kept byte for byte.
    AppendRaw(body + f.valueOffset, size - f.valueOffset, out);
  }
  frame.setBody(out);
  return KvxFileRet::kOk;
}

KvxFileRet CutFrameValue(TagFrame& frame, size_t maxBytes) {
  FrameKind kind;
  if (!ClassifyFrameId(frame.id(), kind)) return KvxFileRet::kMalformed;
  const uint8_t* body = frame.body();
  const size_t size = frame.bodySize();
  if (size == 0) return KvxFileRet::kMalformed;
  size_t valueOffset = 0;
  bool utf16 = false;
  if (kind == FrameKind::kText) {
    valueOffset = 1;
    utf16 = body[0] == kEncodingUtf16BigEndian;
  } else if (kind == FrameKind::kUserText || kind == FrameKind::kUserUrl) {
    DescribedFields f;
    KvxFileRet r = SplitDescribedBody(kind, body, size, f);
    if (!IsOk(r)) return r;
    valueOffset = f.valueOffset;
    utf16 = kind == FrameKind::kUserText && f.encoding == kEncodingUtf16BigEndian;
  } else {
    return KvxFileRet::kOk;
  }
  if (size - valueOffset <= maxBytes) return KvxFileRet::kOk;
  size_t cut = maxBytes;
  if (utf16) {
    cut -= cut % 2;
    // Keep a surrogate pair whole: drop its first half rather than leave it
    // alone at the end.
    if (cut >= 2 && IsHighSurrogateBigEndian(body[valueOffset + cut - 2])) cut -= 2;
  }
  frame.truncateBody(valueOffset + cut);
  return KvxFileRet::kOk;
}

}  // namespace container
