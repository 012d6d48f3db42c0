// The byte layouts the library sends: vendor CDB, command blocks, the 9x
// driver request and the pass-through blocks of both pointer widths,
// checked against bytes written out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "devcmd/command_block.h"
#include "devcmd/driver_request.h"
#include "devcmd/inquiry.h"
#include "devcmd/pass_through_layout.h"
#include "devcmd/transport_choice.h"
#include "devcmd/vendor_command.h"

namespace {

using namespace devcmd;
using Bytes = std::vector<uint8_t>;

Bytes Slice(const uint8_t* p, size_t from, size_t to) { return Bytes(p + from, p + to); }

TEST(VendorCommand, CdbAndDirections) {
  const VendorCdb cdb = MakeVendorCdb(0x41, 0x0132);
  EXPECT_EQ(Bytes(cdb.begin(), cdb.end()),
            (Bytes{0xFC, 0x00, 0x41, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0x01, 0x32}));
  EXPECT_EQ(VendorSubCommandDirection(0x00), DataDirection::kIn);
  EXPECT_EQ(VendorSubCommandDirection(0x3F), DataDirection::kIn);
  EXPECT_EQ(VendorSubCommandDirection(0x40), DataDirection::kOut);
  EXPECT_EQ(VendorSubCommandDirection(0x7F), DataDirection::kOut);
  EXPECT_EQ(VendorSubCommandDirection(0x80), DataDirection::kNone);
  EXPECT_EQ(VendorSubCommandDirection(0xBF), DataDirection::kNone);
  EXPECT_EQ(VendorSubCommandDirection(0xC0), std::nullopt);
  EXPECT_EQ(VendorSubCommandDirection(0xFF), std::nullopt);
}

TEST(CommandBlock, FreshBlocks) {
  const CommandBlock request = MakeRequestBlock();
  EXPECT_EQ(Slice(request.data(), 0, 24),
            (Bytes{0x00, 0xE0, 0x00, 0x08, 0x00, 0x46, 0xAB, 0xAB, 0x00, 0x00, 0x00, 0x00,
                   0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0,    0,    0,    0}));
  EXPECT_EQ(Slice(request.data(), 24, 512), Bytes(488, 0xFF));
  const CommandBlock response = MakeResponseBlock();
  EXPECT_EQ(Bytes(response.begin(), response.end()), Bytes(512, 0xFF));
}

TEST(CommandBlock, UserNameRequest) {
  CommandBlock b = MakeRequestBlock();
  ASSERT_EQ(BuildUserNameRequest(0x0102, "AB", b), hr::kOk);
  EXPECT_EQ(Slice(b.data(), 12, 24),
            (Bytes{0x0A, 0x00, 0x01, 0x50, 0x00, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00, 0x10}));
  EXPECT_EQ(Slice(b.data(), 24, 29), (Bytes{0x01, 0x02, 0x41, 0x42, 0x00}));
  EXPECT_EQ(Slice(b.data(), 29, 50), Bytes(21, 0x00));
  EXPECT_EQ(b[50], 0xFF);  // only 50 bytes are sent; the rest stays as it was

  // 23 characters and the zero fill the field exactly.
  const std::string longest(23, 'x');
  ASSERT_EQ(BuildUserNameRequest(7, longest.c_str(), b), hr::kOk);
  EXPECT_EQ(Slice(b.data(), 26, 49), Bytes(23, 'x'));
  EXPECT_EQ(b[49], 0x00);
}

TEST(CommandBlock, UserNameTooLongOrMissingLeavesTheBlockAlone) {
  CommandBlock b = MakeRequestBlock();
  const CommandBlock before = b;
  const std::string tooLong(24, 'y');
  EXPECT_EQ(BuildUserNameRequest(1, tooLong.c_str(), b), hr::kInvalidArg);
  // Not terminated within the field: only the field's 24 bytes are read.
  char unterminated[24];
  std::memset(unterminated, 'z', sizeof(unterminated));
  EXPECT_EQ(BuildUserNameRequest(1, unterminated, b), hr::kInvalidArg);
  EXPECT_EQ(BuildUserNameRequest(1, nullptr, b), hr::kPointer);
  EXPECT_EQ(b, before);
}

TEST(CommandBlock, PreferenceMenuRequest) {
  SETPREFERENCEMENU menu;
  for (int i = 0; i < 12; ++i) menu.lead[i] = static_cast<unsigned char>(0xA0 + i);
  menu.value = 0x1234;
  menu.trail[0] = 0xB0;
  menu.trail[1] = 0xB1;
  CommandBlock b = MakeRequestBlock();
  BuildPreferenceMenuRequest(menu, b);
  EXPECT_EQ(Slice(b.data(), 12, 24), (Bytes{0x0A, 0x00, 0x04, 0x50, 0, 0, 0, 0x10, 0, 0, 0, 0}));
  EXPECT_EQ(Slice(b.data(), 24, 40), (Bytes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA,
                                            0xAB, 0x12, 0x34, 0xB0, 0xB1}));
}

TEST(CommandBlock, PreferenceReply) {
  CommandBlock r = MakeResponseBlock();
  r[15] = 0;
  for (int i = 0; i < 16; ++i) r[36 + i] = static_cast<uint8_t>(0xC0 + i);
  r[48] = 0xAB;
  r[49] = 0xCD;
  for (int i = 0; i < 20; ++i) r[52 + i] = static_cast<uint8_t>(i);
  SETPREFERENCEMENU menu{};
  SETPREFERENCETIMERREC timer{};
  ASSERT_EQ(ReadPreferenceReply(r, menu, timer), 0);
  EXPECT_EQ(menu.value, 0xABCD);
  EXPECT_EQ(menu.lead[0], 0xC0);
  EXPECT_EQ(menu.lead[11], 0xCB);
  EXPECT_EQ(menu.trail[1], 0xCF);
  EXPECT_EQ(timer.bytes[0], 0);
  EXPECT_EQ(timer.bytes[19], 19);

  r[15] = 5;
  SETPREFERENCEMENU untouched;
  std::memset(&untouched, 0x5A, sizeof(untouched));
  SETPREFERENCETIMERREC untouchedTimer;
  std::memset(&untouchedTimer, 0x5A, sizeof(untouchedTimer));
  EXPECT_EQ(ReadPreferenceReply(r, untouched, untouchedTimer), 5);
  EXPECT_EQ(untouched.value, 0x5A5A);
  EXPECT_EQ(untouchedTimer.bytes[7], 0x5A);
}

TEST(DriverRequest, PackedLittleEndianBytes) {
  DriverRequest r{};
  ASSERT_EQ(BuildDriverRequest(4, 0x11223344, 12, 0x55667788, 0x1FF, 0x0A0B0C0D, DataDirection::kOut, r),
            hr::kOk);
  uint8_t bytes[sizeof(r)];
  std::memcpy(bytes, &r, sizeof(r));
  EXPECT_EQ(Bytes(bytes, bytes + 22),
            (Bytes{0x04, 0x44, 0x33, 0x22, 0x11, 0x0C, 0x00, 0x88, 0x77, 0x66, 0x55,
                   0xFF, 0x01, 0x00, 0x00, 0x0D, 0x0C, 0x0B, 0x0A, 0x12, 0x00, 0x02}));
  // No data: the data address is 0 whatever was passed.
  ASSERT_EQ(BuildDriverRequest(0, 0x1000, 12, 0x2000, 0, 0x3000, DataDirection::kNone, r), hr::kOk);
  // Copies: gtest would bind references to the packed fields.
  const uint32_t dataAddress = r.dataAddress;
  const uint8_t direction = r.direction;
  EXPECT_EQ(dataAddress, 0u);
  EXPECT_EQ(direction, 0);
}

TEST(DriverRequest, RefusesDrivesOutOfRangeAndAddressesAbove4GiB) {
  DriverRequest r{};
  EXPECT_EQ(BuildDriverRequest(26, 0x1000, 6, 0, 0, 0x3000, DataDirection::kNone, r), hr::kInvalidArg);
  EXPECT_EQ(BuildDriverRequest(-1, 0x1000, 6, 0, 0, 0x3000, DataDirection::kNone, r), hr::kInvalidArg);
  if constexpr (sizeof(uintptr_t) == 8) {
    const uintptr_t high = static_cast<uintptr_t>(UINT64_C(0x100000000));
    EXPECT_EQ(BuildDriverRequest(0, high, 6, 0, 0, 0x3000, DataDirection::kNone, r), hr::kInvalidArg);
    EXPECT_EQ(BuildDriverRequest(0, 0x1000, 6, high, 4, 0x3000, DataDirection::kIn, r), hr::kInvalidArg);
    EXPECT_EQ(BuildDriverRequest(0, 0x1000, 6, 0x2000, 4, high + 8, DataDirection::kIn, r), hr::kInvalidArg);
  }
}

TEST(PassThroughLayout, Direct32BitBlockMatchesTheFixedLayout) {
  const uint8_t cdb[12] = {0xFC, 0x00, 0x41, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0x00, 0x32};
  uint8_t block[80];
  std::memset(block, 0xEE, sizeof(block));
  EncodePassThrough(PointerWidth::k32,
                    DirectRequestFields(PointerWidth::k32, cdb, DataDirection::kOut, 50, 0x00C0FFEE, 5),
                    block);
  EXPECT_EQ(
      Slice(block, 0, 48),
      (Bytes{44,   0,    0,    0,    1,   0,   12,  18,  0,   0,   0,    0,  // Length .. DataIn, padding
             50,   0,    0,    0,    5,   0,   0,   0,  // DataTransferLength, TimeOutValue
             0xEE, 0xFF, 0xC0, 0x00, 48,  0,   0,   0,  // DataBuffer, SenseInfoOffset
             0xFC, 0x00, 0x41, 'D',  'R', 'E', 'S', 'K', 'A', 'L', 0x00, 0x32, 0, 0, 0, 0,  // Cdb
             0xEE, 0xEE, 0xEE, 0xEE}));  // the filler is not the structure's
}

TEST(PassThroughLayout, Direct64BitBlockPutsThePointerOnItsBoundary) {
  const uint8_t cdb[6] = {0x12, 0, 0, 0, 36, 0};
  uint8_t block[96] = {};
  EncodePassThrough(
      PointerWidth::k64,
      DirectRequestFields(PointerWidth::k64, cdb, DataDirection::kIn, 36, UINT64_C(0x0000123456789ABC), 5),
      block);
  EXPECT_EQ(Slice(block, 0, 12), (Bytes{56, 0, 0, 0, 1, 0, 6, 18, 1, 0, 0, 0}));
  EXPECT_EQ(Slice(block, 20, 36), (Bytes{0, 0, 0, 0, 0xBC, 0x9A, 0x78, 0x56, 0x34, 0x12, 0, 0, 60, 0, 0, 0}));
  EXPECT_EQ(Slice(block, 36, 42), (Bytes{0x12, 0, 0, 0, 36, 0}));

  const PassThroughFields back = DecodePassThrough(PointerWidth::k64, block);
  EXPECT_EQ(back.dataBuffer, UINT64_C(0x0000123456789ABC));
  EXPECT_EQ(back.senseInfoOffset, 60u);
  EXPECT_EQ(back.dataIn, kDataInFromDevice);
}

TEST(PassThroughLayout, BufferedInquiryInBothWidths) {
  uint8_t block[608] = {};
  EncodePassThrough(PointerWidth::k32, BufferedInquiryFields(PointerWidth::k32, 36), block);
  EXPECT_EQ(Slice(block, 0, 34), (Bytes{44, 0, 0, 0,  1, 0, 6, 24, 1, 0, 0, 0,    0x00, 0x02, 0, 0,  2,
                                        0,  0, 0, 80, 0, 0, 0, 48, 0, 0, 0, 0x12, 0,    0,    0, 36, 0}));
  const PassThroughFields wide = BufferedInquiryFields(PointerWidth::k64, 36);
  EXPECT_EQ(wide.length, 56);
  EXPECT_EQ(wide.dataBuffer, 92u);
  EXPECT_EQ(wide.senseInfoOffset, 60u);
  EXPECT_EQ(wide.dataTransferLength, 512u);
  EXPECT_EQ(wide.timeOutValue, 2u);
  EXPECT_EQ(DataInCode(DataDirection::kNone), 2);
  EXPECT_EQ(DataInCode(DataDirection::kOut), 0);
}

TEST(Inquiry, CdbAndText) {
  const InquiryCdb cdb = MakeInquiryCdb(36);
  EXPECT_EQ(Bytes(cdb.begin(), cdb.end()), (Bytes{0x12, 0, 0, 0, 36, 0}));
  uint8_t answer[36] = {};
  std::memcpy(answer + 8, "KELTAN  PELLMARK PLAYER 1.00", 28);
  char text[31];
  std::memset(text, '#', sizeof(text));
  FormatInquiryText(answer, text);
  EXPECT_STREQ(text, "KELTAN   PELLMARK PLAYER  1.00");
  EXPECT_EQ(std::strlen(text), 30u);
}

TEST(TransportChoice, ByVersionAndRights) {
  EXPECT_EQ(ChooseTransport(3, 0), TransportKind::kVxd);
  EXPECT_EQ(ChooseTransport(4, 0), TransportKind::kVxd);
  EXPECT_EQ(ChooseTransport(5, 1), TransportKind::kVolume);
  EXPECT_EQ(ChooseTransport(6, 2), TransportKind::kVolume);
  EXPECT_EQ(ChooseTransport(7, 4), TransportKind::kVolume);
  EXPECT_EQ(ChooseTransport(7, 3), TransportKind::kService);
  EXPECT_EQ(ChooseTransport(7, 2), TransportKind::kService);
  EXPECT_EQ(ChooseTransport(7, 1), TransportKind::kService);
  EXPECT_EQ(ChooseTransport(1, 0), TransportKind::kNone);
  EXPECT_EQ(ChooseTransport(2, 0), TransportKind::kNone);
  EXPECT_EQ(ChooseTransport(std::nullopt, 4), TransportKind::kNone);
}

TEST(TransportChoice, InquiryRouteFromTheSetting) {
  EXPECT_EQ(ChooseInquiryRoute(std::nullopt), InquiryRoute::kTransportInquiry);
  EXPECT_EQ(ChooseInquiryRoute("1"), InquiryRoute::kTransportInquiry);
  EXPECT_EQ(ChooseInquiryRoute(" +1"), InquiryRoute::kTransportInquiry);
  EXPECT_EQ(ChooseInquiryRoute("1 (buffered)"), InquiryRoute::kTransportInquiry);
  EXPECT_EQ(ChooseInquiryRoute("0"), InquiryRoute::kDataInCommand);
  EXPECT_EQ(ChooseInquiryRoute("2"), InquiryRoute::kDataInCommand);
  EXPECT_EQ(ChooseInquiryRoute("-1"), InquiryRoute::kDataInCommand);
  EXPECT_EQ(ChooseInquiryRoute(""), InquiryRoute::kDataInCommand);
  EXPECT_EQ(ChooseInquiryRoute("yes"), InquiryRoute::kDataInCommand);
  EXPECT_EQ(ChooseInquiryRoute("4294967297"), InquiryRoute::kDataInCommand);
}

}  // namespace
