#include "tests/mp3/tag_builder.h"

#include <algorithm>

namespace mp3test {

Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Utf16Le(const std::u16string& text) {
  Bytes out;
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

Bytes Utf16Be(const std::u16string& text) {
  Bytes out;
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c & 0xFF));
  }
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Synchsafe(uint32_t v) {
  return {static_cast<uint8_t>((v >> 21) & 0x7F), static_cast<uint8_t>((v >> 14) & 0x7F),
          static_cast<uint8_t>((v >> 7) & 0x7F), static_cast<uint8_t>(v & 0x7F)};
}

Bytes Text(uint8_t encoding, const Bytes& text) { return Join({{encoding}, text}); }

Bytes Frame(unsigned version, const std::string& id, const Bytes& data, int64_t sizeOverride) {
  const auto size =
      static_cast<uint32_t>(sizeOverride >= 0 ? sizeOverride : static_cast<int64_t>(data.size()));
  Bytes out = Ascii(id);
  if (version == 2) {
    out.insert(out.end(), {static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 8),
                           static_cast<uint8_t>(size)});
  } else {
    const Bytes sizeBytes = version == 3
                                ? Bytes{static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
                                        static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)}
                                : Synchsafe(size);
    out.insert(out.end(), sizeBytes.begin(), sizeBytes.end());
    out.insert(out.end(), {0, 0});
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes Tag(unsigned version, const std::vector<Bytes>& frames, uint8_t flags, const Bytes& extended,
          size_t padding) {
  Bytes body = extended;
  for (const Bytes& f : frames) body.insert(body.end(), f.begin(), f.end());
  body.insert(body.end(), padding, 0);
  Bytes out = {'I', 'D', '3', static_cast<uint8_t>(version), 0, flags};
  const Bytes size = Synchsafe(static_cast<uint32_t>(body.size()));
  out.insert(out.end(), size.begin(), size.end());
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes TrailingTag(const std::string& title, const std::string& artist, const std::string& album,
                  uint8_t genre) {
  Bytes out(128, 0);
  std::copy_n("TAG", 3, out.begin());
  auto put = [&out](size_t offset, const std::string& text) {
    std::copy_n(text.begin(), std::min<size_t>(text.size(), 30), out.begin() + static_cast<long>(offset));
  };
  put(3, title);
  put(33, artist);
  put(63, album);
  std::copy_n("2001", 4, out.begin() + 93);
  out[127] = genre;
  return out;
}

}  // namespace mp3test
