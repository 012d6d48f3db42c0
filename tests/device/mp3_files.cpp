#include "tests/device/mp3_files.h"

#include <cstring>

namespace devicetest {

namespace {
void Put32be(std::vector<uint8_t>& v, uint32_t n) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(n >> s));
}
void Put32le(std::vector<uint8_t>& v, uint32_t n) {
  for (int s = 0; s <= 24; s += 8) v.push_back(static_cast<uint8_t>(n >> s));
}
void PutSynchsafe(std::vector<uint8_t>& v, uint32_t n) {
  for (int s = 21; s >= 0; s -= 7) v.push_back(static_cast<uint8_t>((n >> s) & 0x7F));
}
void PutText(std::vector<uint8_t>& v, const char* text) { v.insert(v.end(), text, text + std::strlen(text)); }
}  // namespace

std::vector<uint8_t> Id3v2TextFrame(const char* id, const std::string& text) {
  std::vector<uint8_t> f;
  PutText(f, id);
  Put32be(f, static_cast<uint32_t>(text.size() + 1));
  f.push_back(0);
  f.push_back(0);
  f.push_back(0);  // encoding: Latin-1
  f.insert(f.end(), text.begin(), text.end());
  return f;
}

std::vector<uint8_t> Id3v2Tag(const std::vector<uint8_t>& body, bool footer, uint8_t major) {
  std::vector<uint8_t> t;
  PutText(t, "ID3");
  t.push_back(major);
  t.push_back(0);
  t.push_back(footer ? 0x10 : 0x00);
  PutSynchsafe(t, static_cast<uint32_t>(body.size()));
  t.insert(t.end(), body.begin(), body.end());
  if (footer) {
    PutText(t, "3DI");
    t.push_back(major);
    t.push_back(0);
    t.push_back(0x10);
    PutSynchsafe(t, static_cast<uint32_t>(body.size()));
  }
  return t;
}

std::vector<uint8_t> Id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
                              uint8_t genre) {
  std::vector<uint8_t> t(128, 0);
  std::memcpy(t.data(), "TAG", 3);
  std::memcpy(t.data() + 3, title.data(), std::min<size_t>(title.size(), 30));
  std::memcpy(t.data() + 33, artist.data(), std::min<size_t>(artist.size(), 30));
  std::memcpy(t.data() + 63, album.data(), std::min<size_t>(album.size(), 30));
  t[127] = genre;
  return t;
}

std::vector<uint8_t> RiffFile(const char* form, uint16_t formatTag, const std::vector<uint8_t>& audio,
                              bool oddChunk) {
  std::vector<uint8_t> body;
  PutText(body, form);
  PutText(body, "fmt ");
  Put32le(body, 16);
  body.push_back(static_cast<uint8_t>(formatTag));
  body.push_back(static_cast<uint8_t>(formatTag >> 8));
  body.insert(body.end(), 14, 0);
  if (oddChunk) {
    PutText(body, "fact");
    Put32le(body, 3);
    body.insert(body.end(), {1, 2, 3, 0});  // three bytes and the pad byte
  }
  PutText(body, "data");
  Put32le(body, static_cast<uint32_t>(audio.size()));
  body.insert(body.end(), audio.begin(), audio.end());
  std::vector<uint8_t> file;
  PutText(file, "RIFF");
  Put32le(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

std::vector<uint8_t> Frames(const testsupport::FrameSpec& kind, size_t count, uint8_t fill) {
  testsupport::FrameSpec s = kind;
  s.fill = fill;
  return testsupport::MakeStream(s, count);
}

}  // namespace devicetest
