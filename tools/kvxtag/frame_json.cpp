#include "tools/kvxtag/frame_json.h"

#include "container/tag_frame_body.h"
#include "platform/codepage.h"
#include "tools/common/json.h"

namespace tools {

namespace {

using container::DescribedFields;
using container::FrameKind;

// The text of some bytes of a body as a JSON value: a string, or null when
// they do not decode in the encoding. Other writers often end a text with a
// terminator the format does not ask for; it is not shown.
std::string TextValue(uint32_t encoding, const uint8_t* data, size_t size) {
  std::u16string text;
  if (!container::IsOk(container::DecodeText(encoding, data, size, text))) return "null";
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  return JsonString(sys::Utf8FromUtf16(text));
}

std::string Field(const char* name, const std::string& value) {
  return std::string(", \"") + name + "\": " + value;
}

}  // namespace

std::string TagJson(const std::string& pathUtf8, const container::KVXTag& tag) {
  std::string out = "{\"path\": " + JsonString(pathUtf8);
  if (!tag.hasHeader()) return out + ", \"magic\": null, \"length\": 0, \"frames\": 0}";
  const auto& h = tag.header();
  out += Field("magic", JsonString(std::string(h.begin(), h.begin() + 3)));
  out += Field("version", JsonString(std::to_string(h[3]) + "." + std::to_string(h[4])));
  out += Field("flags", JsonString(HexBytes(h.data() + 5, 1)));
  out += Field("length", std::to_string(tag.length()));
  return out + Field("frames", std::to_string(tag.frameCount())) + "}";
}

std::string FrameJson(const container::KVXTag::Entry& entry) {
  const container::TagFrame& frame = *entry.frame;
  const uint8_t* body = frame.body();
  const size_t size = frame.bodySize();
  std::string out = "{\"id\": " + JsonString(frame.id()) + Field("key", JsonString(entry.key));
  FrameKind kind = FrameKind::kText;
  container::ClassifyFrameId(frame.id(), kind);
  if (kind == FrameKind::kUrl) {
    out += Field("encoding", "null") + Field("text", TextValue(container::kEncodingAnsi, body, size));
  } else if (kind == FrameKind::kText) {
    out += Field("encoding", std::to_string(body[0])) + Field("text", TextValue(body[0], body + 1, size - 1));
  } else {
    DescribedFields f;
    container::SplitDescribedBody(kind, body, size, f);
    out += Field("encoding", std::to_string(f.encoding));
    out += Field("description", TextValue(f.encoding, body + f.descriptionOffset, f.descriptionSize));
    const uint8_t* value = body + f.valueOffset;
    const size_t valueSize = size - f.valueOffset;
    if (kind == FrameKind::kUserText) {
      out += Field("text", TextValue(f.encoding, value, valueSize));
    } else if (kind == FrameKind::kUserUrl) {
      out += Field("text", TextValue(container::kEncodingAnsi, value, valueSize));
    } else {
      out += Field("mime", TextValue(container::kEncodingAnsi, body + f.mimeOffset, f.mimeSize));
      out += Field("file_name", TextValue(f.encoding, body + f.fileNameOffset, f.fileNameSize));
      out += Field("object_size", std::to_string(valueSize));
    }
  }
  const uint8_t flags[2] = {frame.flags0(), frame.flags1()};
  out += Field("size", std::to_string(size)) + Field("flags", JsonString(HexBytes(flags, 2)));
  return out + "}";
}

}  // namespace tools
