#include "bench/analyser/corpus.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "container/mpeg_header.h"

namespace bench {

namespace {

// Bumped whenever the files made here change, so an old corpus is remade.
constexpr const char* kCorpusVersion = "analyser-corpus 2";
constexpr uint64_t kFileBytes = 4'500'000;

struct Kind {
  uint8_t header[4];
  bool garbage;  // bytes between some frames
  bool tags;     // a leading and a trailing tag
};

// Byte 1: sync, version and layer; byte 2: bit-rate index, sample-rate
// index, padding. All are within the player's 32 to 320 kbit/s.
constexpr Kind kKinds[] = {
    {{0xFF, 0xFB, 0x90, 0x00}, false, true},   // MPEG-1 Layer III 128 kbit/s 44.1 kHz
    {{0xFF, 0xFB, 0xE0, 0x40}, true, false},   // MPEG-1 Layer III 320 kbit/s 44.1 kHz
    {{0xFF, 0xFB, 0x14, 0xC0}, false, false},  // MPEG-1 Layer III 32 kbit/s 48 kHz
    {{0xFF, 0xFB, 0xB2, 0x00}, true, true},    // MPEG-1 Layer III 192 kbit/s 44.1 kHz, padded
    {{0xFF, 0xFD, 0xA4, 0x00}, false, true},   // MPEG-1 Layer II 192 kbit/s 48 kHz
    {{0xFF, 0xFF, 0x60, 0x00}, true, false},   // MPEG-1 Layer I 192 kbit/s 44.1 kHz
    {{0xFF, 0xF3, 0x80, 0xC0}, false, true},   // MPEG-2 Layer III 64 kbit/s 22.05 kHz
    {{0xFF, 0xF3, 0xE4, 0x00}, true, false},   // MPEG-2 Layer III 160 kbit/s 24 kHz
    {{0xFF, 0xF5, 0xA8, 0x00}, false, false},  // MPEG-2 Layer II 96 kbit/s 16 kHz
    {{0xFF, 0xE3, 0x80, 0x00}, true, true},    // MPEG-2.5 Layer III 64 kbit/s 11.025 kHz
};

std::vector<uint8_t> LeadingTag() {
  const std::string title = "Benchmark title";
  std::vector<uint8_t> frame = {'T', 'I', 'T', '2', 0, 0, 0, static_cast<uint8_t>(title.size() + 1), 0, 0, 0};
  frame.insert(frame.end(), title.begin(), title.end());
  std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<uint8_t>(frame.size() + 100)};
  tag.insert(tag.end(), frame.begin(), frame.end());
  tag.insert(tag.end(), 100, 0);  // padding
  return tag;
}

std::vector<uint8_t> TrailingTag() {
  std::vector<uint8_t> tag(128, 0);
  const std::string text = "TAGBenchmark old title";
  std::copy(text.begin(), text.end(), tag.begin());
  std::copy_n("Benchmark artist", 16, tag.begin() + 33);
  tag[127] = 17;
  return tag;
}

std::vector<uint8_t> MakeFile(const Kind& kind, std::mt19937& random) {
  container::MpegHeaderInfo info;
  container::ParseMpegHeader(kind.header, info);
  std::vector<uint8_t> out;
  out.reserve(kFileBytes + 4096);
  if (kind.tags) {
    const auto tag = LeadingTag();
    out.insert(out.end(), tag.begin(), tag.end());
  }
  std::uniform_int_distribution<int> byte(0, 255);
  while (out.size() < kFileBytes) {
    out.insert(out.end(), kind.header, kind.header + 4);
    // Payload like coded audio: any byte, 0xFF included.
    for (uint32_t i = 4; i < info.frameLength; ++i) out.push_back(static_cast<uint8_t>(byte(random)));
    if (kind.garbage && random() % 16 == 0) {
      // Junk full of 0xFF, but not right before a header: an 0xFF there
      // would pair with the header's first byte into a sync of its own.
      for (unsigned n = random() % 48; n > 0; --n) out.push_back(random() % 3 == 0 ? 0xFF : 0x00);
      out.push_back(0x00);
    }
  }
  if (kind.tags) {
    const auto tag = TrailingTag();
    out.insert(out.end(), tag.begin(), tag.end());
  }
  return out;
}

std::vector<CorpusFile> ExistingCorpus(const sys::Path& manifest, const sys::Path& folder) {
  std::vector<CorpusFile> files;
  std::ifstream in(manifest);
  std::string line;
  if (!std::getline(in, line) || line != kCorpusVersion) return {};
  std::string name;
  uint64_t size = 0;
  while (in >> name >> size) {
    uint64_t actual = 0;
    if (!sys::GetFileSize(folder / name, actual) || actual != size) return {};
    files.push_back({folder / name, size});
  }
  return files;
}

}  // namespace

std::vector<CorpusFile> PrepareCorpus(const sys::Path& folder, uint64_t minimumBytes) {
  const sys::Path manifest = folder / "corpus.txt";
  std::vector<CorpusFile> files = ExistingCorpus(manifest, folder);
  uint64_t total = 0;
  for (const auto& f : files) total += f.size;
  if (total >= minimumBytes) return files;

  std::fprintf(stderr, "making the corpus in %s ...\n", sys::AnsiFromPath(folder).c_str());
  sys::CreateFolder(folder);
  files.clear();
  total = 0;
  std::mt19937 random(1234567);
  std::string list;
  for (size_t i = 0; total < minimumBytes; ++i) {
    const std::vector<uint8_t> bytes = MakeFile(kKinds[i % std::size(kKinds)], random);
    const std::string name = "track-" + std::to_string(i) + ".mp3";
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return {};
    files.push_back({folder / name, bytes.size()});
    total += bytes.size();
    list += name + " " + std::to_string(bytes.size()) + "\n";
  }
  // The manifest comes last: a corpus cut short by a failed run is remade.
  std::ofstream(manifest) << kCorpusVersion << "\n" << list;
  return files;
}

std::vector<CorpusFile> ListMp3Files(const sys::Path& folder) {
  std::vector<CorpusFile> files;
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    uint64_t size = 0;
    if (extension == ".mp3" && it->is_regular_file(error) && sys::GetFileSize(it->path(), size))
      files.push_back({it->path(), size});
  }
  std::sort(files.begin(), files.end(), [](const CorpusFile& a, const CorpusFile& b) { return a.path < b.path; });
  return files;
}

}  // namespace bench
