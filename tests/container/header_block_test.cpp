// The 96-byte header block: the template handed out before the audio and
// the completed block after it.
#include "container/header_block.h"

#include <gtest/gtest.h>

#include "container/frame_scanner.h"
#include "tests/support/mpeg_stream_builder.h"

namespace {

using container::CHeaderBlock;

std::vector<uint8_t> Template() {
  std::vector<uint8_t> b(96, 0);
  const uint8_t head[] = {'k', 'v', 'x', 0x02, 0x00, 0x60, 0xFF, 0xFE};
  std::copy(std::begin(head), std::end(head), b.begin());
  return b;
}

std::vector<uint8_t> Bytes(const CHeaderBlock& block) {
  return std::vector<uint8_t>(block.bytes().begin(), block.bytes().end());
}

TEST(HeaderBlock, CarriesTheTracksFigures) {
  CHeaderBlock block;
  EXPECT_EQ(Bytes(block), Template());  // the opening copy

  // 1,000 frames of MPEG-1 Layer III, 44,100 Hz, 128 kbit/s, stereo, fed as
  // the transfer does, in chunks of 65,536 bytes.
  const std::vector<uint8_t> stream = testsupport::MakeStream(testsupport::FrameSpec{}, 1000);
  container::CFrameScanner scanner;
  for (size_t at = 0; at < stream.size(); at += 65536)
    ASSERT_EQ(scanner.scanChunk(stream.data() + at, std::min<size_t>(65536, stream.size() - at)), hr::kOk);
  ASSERT_EQ(block.complete(scanner.frame()), hr::kOk);

  std::vector<uint8_t> expected = Template();
  const uint8_t figures[] = {0x03, 0x80, 0xD9, 0x00,   // codec information
                             0x00, 0x00, 0x66, 0x0A,   // 26,122 ms
                             0x00, 0x00, 0x03, 0xE8};  // 1,000 frames
  std::copy(std::begin(figures), std::end(figures), expected.begin() + 32);
  EXPECT_EQ(Bytes(block), expected);

  block.reset();  // the next track starts from the template again
  EXPECT_EQ(Bytes(block), Template());
}

}  // namespace
