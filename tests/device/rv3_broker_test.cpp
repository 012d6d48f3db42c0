#include "device/rv3_broker.h"

#include <gtest/gtest.h>

#include "tests/device/mp3_files.h"
#include "tests/support/temp_dir.h"

namespace {

using devicetest::Frames;
using testsupport::Concat;
using testsupport::FrameSpec;

const FrameSpec kMpeg1Layer3;  // 417-byte frames

struct Opened {
  HRESULT result;
  uint32_t audioSize;
  container::HeaderBlockBytes header;
  uint32_t headerLength;
};

Opened Init(device::CRv3Broker& broker, const std::filesystem::path& path) {
  Opened o{};
  o.result = broker.Init(path, &o.audioSize, &o.header, &o.headerLength);
  return o;
}

// Every chunk's size, and all the bytes handed out, in order.
std::vector<uint32_t> Drain(device::CRv3Broker& broker, std::vector<uint8_t>* bytes = nullptr) {
  std::vector<uint32_t> sizes;
  for (;;) {
    device::AudioChunk chunk;
    EXPECT_EQ(broker.NextChunk(chunk), hr::kOk);
    if (chunk.size == 0) return sizes;
    sizes.push_back(chunk.size);
    if (bytes) bytes->insert(bytes->end(), chunk.bytes, chunk.bytes + chunk.size);
  }
}

// Audio of exactly n bytes: whole frames and then filler to the length.
std::vector<uint8_t> AudioOf(size_t n) {
  auto audio = Frames(kMpeg1Layer3, n / 417 + 1, 0x55);
  audio.resize(n, 0x55);
  return audio;
}

class BrokerTest : public ::testing::Test {
 protected:
  std::filesystem::path write(const std::vector<uint8_t>& bytes) {
    const auto path = dir / ("f" + std::to_string(files++) + ".mp3");
    testsupport::WriteFile(path, bytes);
    return path;
  }
  testsupport::TempDir dir;
  int files = 0;
  device::CRv3Broker broker;
};

TEST_F(BrokerTest, InitHandsOutTheTemplateAndTheAudioSize) {
  const auto tag = devicetest::Id3v2Tag(devicetest::Id3v2TextFrame("TIT2", "Song"), true);
  const auto o = Init(broker, write(Concat({tag, Frames(kMpeg1Layer3, 3, 0x55)})));
  ASSERT_EQ(o.result, hr::kOk);
  EXPECT_EQ(o.audioSize, 3u * 417);
  EXPECT_EQ(o.headerLength, 96u);
  const uint8_t head[] = {'k', 'v', 'x', 0x02, 0x00, 0x60, 0xFF, 0xFE};
  EXPECT_TRUE(std::equal(std::begin(head), std::end(head), o.header.begin()));
  EXPECT_TRUE(std::all_of(o.header.begin() + 8, o.header.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(broker.audio().offset, tag.size());
}

TEST_F(BrokerTest, ChunksAreAtMost64KiBAndCarryTheAudioUnchanged) {
  struct Case {
    size_t audio;
    std::vector<uint32_t> chunks;
  };
  const Case cases[] = {
      {65535, {65535}}, {65536, {65536}}, {65537, {65536, 1}}, {200000, {65536, 65536, 65536, 3392}},
      // Past 256 KiB the source is mapped to find its audio rather than read whole.
      {300000, {65536, 65536, 65536, 65536, 37856}}};
  for (const Case& c : cases) {
    const auto audio = AudioOf(c.audio);
    const auto source =
        Concat({devicetest::Id3v2Tag({1, 2, 3}), audio, devicetest::Id3v1Tag("a", "b", "c", 1)});
    ASSERT_EQ(Init(broker, write(source)).audioSize, c.audio);
    std::vector<uint8_t> out;
    EXPECT_EQ(Drain(broker, &out), c.chunks) << c.audio;
    EXPECT_EQ(out, audio) << c.audio;
    EXPECT_EQ(broker.remaining(), 0u);
  }
}

TEST_F(BrokerTest, ClosingHeaderCarriesTheStatisticsOfTheWalkedFrames) {
  // 1,000 frames straddle sixteen chunk boundaries.
  ASSERT_EQ(Init(broker, write(Frames(kMpeg1Layer3, 1000, 0x55))).result, hr::kOk);
  Drain(broker);
  container::HeaderBlockBytes closing{};
  uint32_t length = 0;
  ASSERT_EQ(broker.CloseHeader(&closing, &length), hr::kOk);
  EXPECT_EQ(length, 96u);
  const uint8_t stats[] = {0x03, 0x80, 0xD9, 0x00, 0x00, 0x00, 0x66, 0x0A, 0x00, 0x00, 0x03, 0xE8};
  EXPECT_TRUE(std::equal(std::begin(stats), std::end(stats), closing.begin() + 32));
  EXPECT_FALSE(broker.sourceOpen());
  EXPECT_EQ(broker.CloseHeader(&closing, &length), hr::kUnexpected);
}

TEST_F(BrokerTest, OrderIsEnforced) {
  device::AudioChunk chunk;
  EXPECT_EQ(broker.NextChunk(chunk), hr::kUnexpected);
  ASSERT_EQ(Init(broker, write(Frames(kMpeg1Layer3, 200, 0x55))).result, hr::kOk);
  container::HeaderBlockBytes closing{};
  uint32_t length = 0;
  EXPECT_EQ(broker.CloseHeader(&closing, &length), hr::kUnexpected);  // audio remains
  uint32_t size = 0;
  EXPECT_EQ(broker.Init(std::filesystem::path(), &size, &closing, &length), hr::kInvalidArg);
  EXPECT_EQ(broker.Init(dir / "x.mp3", nullptr, &closing, &length), hr::kPointer);
}

TEST_F(BrokerTest, NewInitForgetsAnAbandonedTransfer) {
  ASSERT_EQ(Init(broker, write(Frames(kMpeg1Layer3, 400, 0x55))).result, hr::kOk);
  device::AudioChunk chunk;
  ASSERT_EQ(broker.NextChunk(chunk), hr::kOk);  // then abandoned
  broker.Reset();
  EXPECT_FALSE(broker.sourceOpen());
  EXPECT_EQ(broker.remaining(), 0u);
  EXPECT_EQ(broker.NextChunk(chunk), hr::kUnexpected);
  FrameSpec mpeg2;
  mpeg2.version = 2;
  mpeg2.bitRateIndex = 8;
  ASSERT_EQ(Init(broker, write(Frames(mpeg2, 10, 0x55))).audioSize, 2080u);
  Drain(broker);
  container::HeaderBlockBytes closing{};
  uint32_t length = 0;
  ASSERT_EQ(broker.CloseHeader(&closing, &length), hr::kOk);
  EXPECT_EQ(broker.frame().frameCount(), 10u);
  // 10 x 576 / 22,050 s = 261 ms.
  EXPECT_EQ(closing[39], 261 & 0xFF);
  EXPECT_EQ(closing[38], 261 >> 8);
}

TEST_F(BrokerTest, TagsOnlyFileHasNoAudioButCloses) {
  const auto o = Init(broker, write(devicetest::Id3v2Tag(devicetest::Id3v2TextFrame("TIT2", "x"))));
  ASSERT_EQ(o.result, hr::kOk);
  EXPECT_EQ(o.audioSize, 0u);
  EXPECT_TRUE(Drain(broker).empty());
  container::HeaderBlockBytes closing{};
  uint32_t length = 0;
  ASSERT_EQ(broker.CloseHeader(&closing, &length), hr::kOk);
  const uint8_t zeroStats[] = {0x03, 0x80, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(zeroStats), std::end(zeroStats), closing.begin() + 32));
}

TEST_F(BrokerTest, UnusableSourcesFailInit) {
  EXPECT_EQ(Init(broker, dir / "missing.mp3").result, hr::kFail);
  EXPECT_EQ(Init(broker, write(devicetest::RiffFile("AVI ", 0x55, Frames(kMpeg1Layer3, 2, 0)))).result,
            hr::kFail);
  EXPECT_EQ(Init(broker, write(std::vector<uint8_t>(5000, 0x20))).result, hr::kFail);
  EXPECT_FALSE(broker.sourceOpen());
}

TEST_F(BrokerTest, SourceThatShrinksAfterInitFailsTheChunk) {
  // Long enough to be read chunk by chunk rather than whole.
  const auto path = write(Frames(kMpeg1Layer3, 700, 0x55));
  ASSERT_EQ(Init(broker, path).result, hr::kOk);
  device::AudioChunk chunk;
  ASSERT_EQ(broker.NextChunk(chunk), hr::kOk);
  std::filesystem::resize_file(path, 70000);
  EXPECT_EQ(broker.NextChunk(chunk), hr::kFail);
  EXPECT_EQ(chunk.size, 0u);

  // A short source is read whole and let go at once: its chunks are the
  // bytes read then, whatever becomes of the file.
  const auto audio = Frames(kMpeg1Layer3, 200, 0x55);
  const auto shortPath = write(audio);
  ASSERT_EQ(Init(broker, shortPath).result, hr::kOk);
  EXPECT_FALSE(broker.sourceOpen());
  std::filesystem::remove(shortPath);
  std::vector<uint8_t> out;
  Drain(broker, &out);
  EXPECT_EQ(out, audio);
}

}  // namespace

namespace {

// What a broker hands out for one source, for comparing two brokers.
struct Stream {
  HRESULT init = hr::kOk;
  uint32_t audioSize = 0;
  std::vector<uint32_t> chunks;
  std::vector<uint8_t> bytes;
  container::HeaderBlockBytes closing{};
  bool operator==(const Stream&) const = default;
};

Stream StreamOf(device::CRv3Broker& broker, const std::filesystem::path& path) {
  Stream s;
  const Opened o = Init(broker, path);
  s.init = o.result;
  s.audioSize = o.audioSize;
  if (o.result != hr::kOk) return s;
  s.chunks = Drain(broker, &s.bytes);
  uint32_t length = 0;
  EXPECT_EQ(broker.CloseHeader(&s.closing, &length), hr::kOk);
  return s;
}

TEST_F(BrokerTest, SourcesOpenedAheadStreamAsThoseOpenedByInit) {
  const std::vector<std::filesystem::path> sources = {
      write(Concat({devicetest::Id3v2Tag({1, 2, 3}), Frames(kMpeg1Layer3, 300, 0x55)})),
      write(Concat({Frames(kMpeg1Layer3, 900, 0x56), devicetest::Id3v1Tag("a", "b", "c", 1)})),  // mapped
      write(std::vector<uint8_t>(5000, 0x20)),  // no audio: rejected
      dir / "missing.mp3",
      write(devicetest::Id3v2Tag(devicetest::Id3v2TextFrame("TIT2", "x"))),  // tags only
      write(Frames(kMpeg1Layer3, 700, 0x57))};
  device::CRv3Broker ahead;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (i + 1 < sources.size()) ahead.Expect(sources[i + 1]);
    const Stream read = StreamOf(ahead, sources[i]);
    EXPECT_EQ(read, StreamOf(broker, sources[i])) << i;
    EXPECT_FALSE(ahead.sourceOpen());
  }
  // A source expected but not the one asked for changes nothing.
  ahead.Expect(sources[5]);
  EXPECT_EQ(StreamOf(ahead, sources[0]), StreamOf(broker, sources[0]));
  EXPECT_EQ(StreamOf(ahead, sources[5]), StreamOf(broker, sources[5]));
}

}  // namespace
