#include "container/mpeg_header.h"

#include <gtest/gtest.h>

#include "tests/support/mpeg_stream_builder.h"

using container::MpegHeaderInfo;
using container::ParseMpegHeader;
using testsupport::FrameSpec;

namespace {

bool Parse(std::array<uint8_t, 4> b, MpegHeaderInfo& out) { return ParseMpegHeader(b.data(), out); }
bool Passes(std::array<uint8_t, 4> b) {
  MpegHeaderInfo info;
  return Parse(b, info);
}

}  // namespace

TEST(MpegHeader, DecodesEveryFieldOfHandWrittenHeader) {
  // MPEG-2 Layer III with CRC; index 8 (64 kbit/s), 24 kHz, padded, private;
  // single channel, mode extension 1, copyright, original, emphasis 2.
  MpegHeaderInfo h;
  ASSERT_TRUE(Parse({0xFF, 0xF2, 0x87, 0xDE}, h));
  EXPECT_EQ(h.version, container::kMpegVersion2);
  EXPECT_EQ(h.layer, 3u);
  EXPECT_EQ(h.isProtected, 1u);
  EXPECT_EQ(h.bitRateIndex, 8u);
  EXPECT_EQ(h.sampleRateIndex, 1u);
  EXPECT_EQ(h.padding, 1u);
  EXPECT_EQ(h.privateBit, 1u);
  EXPECT_EQ(h.channelMode, 3u);
  EXPECT_EQ(h.modeExtension, 1u);
  EXPECT_EQ(h.copyright, 1u);
  EXPECT_EQ(h.original, 1u);
  EXPECT_EQ(h.emphasis, 2u);
  EXPECT_EQ(h.bitRate, 64000u);
  EXPECT_EQ(h.sampleRate, 24000u);
  EXPECT_EQ(h.channels, 1u);
  EXPECT_EQ(h.frameLength, 193u);  // 144 * 64000 / 24000 / 2 + 1
  EXPECT_EQ(h.samplesPerFrame, 576u);
  EXPECT_EQ(h.pcmBytesPerFrame, 1152u);
}

TEST(MpegHeader, FrameLengthsPerVersionAndLayer) {
  struct Case {
    FrameSpec layout;
    uint32_t length, bitRate, sampleRate, samples, pcmBytes;
  };
  const Case cases[] = {
      {{.version = 1, .layer = 3, .bitRateIndex = 9}, 417, 128000, 44100, 1152, 4608},
      {{.version = 1, .layer = 3, .bitRateIndex = 9, .padding = 1}, 418, 128000, 44100, 1152, 4608},
      {{.version = 1, .layer = 3, .bitRateIndex = 9, .sampleRateIndex = 1}, 384, 128000, 48000, 1152, 4608},
      {{.version = 2, .layer = 3, .bitRateIndex = 8}, 208, 64000, 22050, 576, 2304},
      {{.version = 1, .layer = 1, .bitRateIndex = 14, .sampleRateIndex = 1, .padding = 1},
       452,
       448000,
       48000,
       384,
       1536},
      {{.version = 1, .layer = 2, .bitRateIndex = 10, .sampleRateIndex = 1, .channelMode = 3},
       576,
       192000,
       48000,
       1152,
       2304},
      {{.version = 2, .layer = 1, .bitRateIndex = 14, .sampleRateIndex = 2}, 768, 256000, 16000, 384, 1536},
      // MPEG-2.5 Layer I follows the standard 32..256 row here.
      {{.version = 3, .layer = 1, .bitRateIndex = 1}, 136, 32000, 11025, 384, 1536},
      {{.version = 3, .layer = 3, .bitRateIndex = 1, .sampleRateIndex = 2}, 72, 8000, 8000, 576, 2304},
      {{.version = 3, .layer = 2, .bitRateIndex = 14, .sampleRateIndex = 2, .padding = 1},
       2881,
       160000,
       8000,
       1152,
       4608},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.layout.version << " layer " << c.layout.layer << " index "
                                    << c.layout.bitRateIndex);
    MpegHeaderInfo h;
    ASSERT_TRUE(Parse(testsupport::MakeHeader(c.layout), h));
    EXPECT_EQ(h.frameLength, c.length);
    EXPECT_EQ(h.frameLength, testsupport::FrameLength(c.layout));
    EXPECT_EQ(h.bitRate, c.bitRate);
    EXPECT_EQ(h.sampleRate, c.sampleRate);
    EXPECT_EQ(h.samplesPerFrame, c.samples);
    EXPECT_EQ(h.pcmBytesPerFrame, c.pcmBytes);
  }
}

TEST(MpegHeader, SyncAcceptsExactlyTheVersionAndLayerPatterns) {
  // Of all 256 second bytes only 111VVLLx with VV != 01 and LL != 00 pass:
  // 3 versions x 3 layers x 2 protection values.
  int passed = 0;
  for (unsigned b1 = 0; b1 < 256; ++b1) {
    passed += Passes({0xFF, static_cast<uint8_t>(b1), 0x90, 0x00}) ? 1 : 0;
  }
  EXPECT_EQ(passed, 18);

  MpegHeaderInfo h;
  ASSERT_TRUE(Parse({0xFF, 0xE3, 0x90, 0x00}, h));
  EXPECT_EQ(h.version, container::kMpegVersion25);
  EXPECT_EQ(h.isProtected, 0u);
  EXPECT_FALSE(Passes({0xFF, 0xEB, 0x90, 0x00}));  // version bits 01
  EXPECT_FALSE(Passes({0xFF, 0xEF, 0x90, 0x00}));
  EXPECT_FALSE(Passes({0xFF, 0xF9, 0x90, 0x00}));  // layer bits 00
  EXPECT_FALSE(Passes({0xFE, 0xFB, 0x90, 0x00}));
}

TEST(MpegHeader, RejectsUnusableRatesButNotEmphasis) {
  EXPECT_FALSE(Passes({0xFF, 0xFB, 0x00, 0x00}));  // free format
  EXPECT_FALSE(Passes({0xFF, 0xFB, 0xF0, 0x00}));  // bad bit rate
  EXPECT_FALSE(Passes({0xFF, 0xFB, 0x9C, 0x00}));  // reserved sample rate
  EXPECT_TRUE(Passes({0xFF, 0xFB, 0x10, 0x00}));
  EXPECT_TRUE(Passes({0xFF, 0xFB, 0xE8, 0x00}));
  EXPECT_TRUE(Passes({0xFF, 0xFB, 0x90, 0x02}));  // reserved emphasis still passes
}

TEST(MpegHeader, FailureLeavesOutputUntouched) {
  MpegHeaderInfo h;
  h.frameLength = 1234;
  EXPECT_FALSE(Parse({0xFF, 0xFB, 0xF0, 0x00}, h));
  EXPECT_FALSE(ParseMpegHeader(nullptr, h));
  EXPECT_EQ(h.frameLength, 1234u);
}
