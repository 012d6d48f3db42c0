// The commands behind the exports, on a host whose transport reaches the
// simulated player directly.
#include "devcmd/device_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "devcmd/command_context.h"
#include "tests/devcmd/player_host.h"

namespace {

using devcmd::StoreDriveIndex;
using devcmd::TransportKind;
using devcmdtest::PlayerHost;
using scsiplayer::SimulatedPlayer;
using Bytes = std::vector<uint8_t>;
namespace cmd = devcmd::cmd;

class DeviceCommands : public ::testing::Test {
 protected:
  void SetUp() override { StoreDriveIndex(3); }
  void TearDown() override { StoreDriveIndex(-1); }

  SimulatedPlayer player;
  PlayerHost host{player};
};

TEST_F(DeviceCommands, DriveIndexStartsUnsetAndIsOnlyCheckedByCommands) {
  StoreDriveIndex(-1);
  EXPECT_EQ(cmd::Reset(host), 1);
  StoreDriveIndex(30);
  EXPECT_EQ(devcmd::StoredDriveIndex(), 30);
  EXPECT_EQ(cmd::Reset(host), 1);
  EXPECT_EQ(cmd::SetUserNameDevice(host, 1, "A"), 1);
  SETPREFERENCEMENU menu{};
  SETPREFERENCETIMERREC timer{};
  EXPECT_EQ(cmd::SetPreferenceMenu(host, &menu), 1);
  EXPECT_EQ(cmd::GetPreferenceInfo(host, &menu, &timer), 1);
  EXPECT_TRUE(player.commands().empty());
}

TEST_F(DeviceCommands, GetInquiryGivesThirtyVisibleCharacters) {
  char text[31];
  std::memset(text, '#', sizeof(text));
  ASSERT_EQ(cmd::GetInquiry(host, text), 1);
  EXPECT_STREQ(text, "KELTAN   PELLMARK PLAYER  1.00");
  EXPECT_EQ(std::strlen(text), 30u);
  EXPECT_EQ(host.log.transportInquiries, 1);
}

TEST_F(DeviceCommands, GetInquiryTypeZeroSendsAnOrdinaryDataInCommand) {
  host.inquirySetting = "0";
  char text[31];
  ASSERT_EQ(cmd::GetInquiry(host, text), 1);
  EXPECT_EQ(host.log.transportInquiries, 0);
  ASSERT_EQ(player.commands().size(), 1u);
  EXPECT_EQ(player.commands()[0].cdb, (Bytes{0x12, 0, 0, 0, 36, 0}));
  EXPECT_EQ(player.commands()[0].dataLength, 36u);
}

TEST_F(DeviceCommands, GetInquiryFailureZeroesTheText) {
  char text[31];
  std::memset(text, '#', sizeof(text));
  player.refuseRequests(50);
  EXPECT_EQ(cmd::GetInquiry(host, text), 0);
  EXPECT_EQ(Bytes(text, text + 31), Bytes(31, 0));
  std::memset(text, '#', sizeof(text));
  StoreDriveIndex(7);
  EXPECT_EQ(cmd::GetInquiry(host, text), 0);
  EXPECT_EQ(Bytes(text, text + 31), Bytes(31, 0));
}

TEST_F(DeviceCommands, SetUserNameDeviceSendsFiftyBytes) {
  ASSERT_EQ(cmd::SetUserNameDevice(host, 0x0102, "AB"), 0);
  ASSERT_EQ(player.commands().size(), 1u);
  EXPECT_EQ(player.commands()[0].cdb, (Bytes{0xFC, 0, 0x41, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 50}));
  const Bytes sent = player.commands()[0].dataOut;
  ASSERT_EQ(sent.size(), 50u);
  Bytes expected = {0x00, 0xE0, 0x00, 0x08, 0x00, 0x46, 0xAB, 0xAB, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x01,
                    0x50, 0x00, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00, 0x10, 0x01, 0x02, 0x41, 0x42, 0x00};
  expected.resize(50, 0x00);
  EXPECT_EQ(sent, expected);
  ASSERT_TRUE(player.owner());
  EXPECT_EQ(player.owner()->number, 0x0102);
  EXPECT_EQ(player.owner()->name, "AB");
}

TEST_F(DeviceCommands, SetUserNameDeviceRefusesALongNameBeforeAnythingHappens) {
  const std::string name24(24, 'N');
  EXPECT_EQ(cmd::SetUserNameDevice(host, 1, name24.c_str()), 16);
  EXPECT_EQ(cmd::SetUserNameDevice(host, 1, nullptr), 16);
  EXPECT_TRUE(host.log.created.empty());
  EXPECT_TRUE(player.commands().empty());
  const std::string name23(23, 'N');
  EXPECT_EQ(cmd::SetUserNameDevice(host, 1, name23.c_str()), 0);
  EXPECT_EQ(player.owner()->name, name23);
}

TEST_F(DeviceCommands, SetPreferenceMenuCarriesTheValueBigEndian) {
  SETPREFERENCEMENU menu;
  std::memset(&menu, 0x11, sizeof(menu));
  menu.value = 0x1234;
  ASSERT_EQ(cmd::SetPreferenceMenu(host, &menu), 0);
  ASSERT_EQ(player.preferenceBlocks().size(), 1u);
  const Bytes sent = player.preferenceBlocks()[0];
  ASSERT_EQ(sent.size(), 40u);
  EXPECT_EQ(Bytes(sent.begin() + 12, sent.begin() + 24),
            (Bytes{0x0A, 0, 0x04, 0x50, 0, 0, 0, 0x10, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(sent.begin() + 34, sent.end()), (Bytes{0x11, 0x11, 0x12, 0x34, 0x11, 0x11}));
  EXPECT_EQ(player.commands()[0].cdb[11], 40);
}

TEST_F(DeviceCommands, GetPreferenceInfoReadsBothRecords) {
  std::array<uint8_t, 16> wire{};
  for (int i = 0; i < 16; ++i) wire[i] = static_cast<uint8_t>(0x20 + i);
  wire[12] = 0x56;
  wire[13] = 0x78;
  player.setPreferenceMenu(wire);
  std::array<uint8_t, 20> timer{};
  for (int i = 0; i < 20; ++i) timer[i] = static_cast<uint8_t>(0x90 + i);
  player.setTimerRecord(timer);

  SETPREFERENCEMENU menu{};
  SETPREFERENCETIMERREC timerOut{};
  ASSERT_EQ(cmd::GetPreferenceInfo(host, &menu, &timerOut), 0);
  EXPECT_EQ(menu.value, 0x5678);
  EXPECT_EQ(menu.lead[0], 0x20);
  EXPECT_EQ(menu.trail[1], 0x2F);
  EXPECT_EQ(Bytes(timerOut.bytes, timerOut.bytes + 20), Bytes(timer.begin(), timer.end()));
  EXPECT_EQ(player.commands()[0].cdb, (Bytes{0xFC, 0, 0x02, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 72}));
}

TEST_F(DeviceCommands, GetPreferenceInfoPassesADeviceStatusThrough) {
  player.setPreferenceStatus(5);
  SETPREFERENCEMENU menu;
  std::memset(&menu, 0xEE, sizeof(menu));
  SETPREFERENCETIMERREC timer;
  std::memset(&timer, 0xEE, sizeof(timer));
  EXPECT_EQ(cmd::GetPreferenceInfo(host, &menu, &timer), 5);
  EXPECT_EQ(menu.value, 0xEEEE);
  EXPECT_EQ(Bytes(timer.bytes, timer.bytes + 20), Bytes(20, 0xEE));
  EXPECT_EQ(cmd::GetPreferenceInfo(host, nullptr, &timer), 16);
}

TEST_F(DeviceCommands, ResetSendsNoData) {
  ASSERT_EQ(cmd::Reset(host), 0);
  EXPECT_EQ(player.resetCount(), 1);
  EXPECT_EQ(player.commands()[0].cdb, (Bytes{0xFC, 0, 0x80, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 0}));
  EXPECT_EQ(player.commands()[0].direction, devcmd::DataDirection::kNone);
}

TEST_F(DeviceCommands, FailedCommandsReportTheirCodes) {
  player.reportSense(scsiplayer::kSenseNotReady, 0x3A, 0);
  SETPREFERENCEMENU menu{};
  SETPREFERENCETIMERREC timer{};
  EXPECT_EQ(cmd::SetUserNameDevice(host, 1, "A"), 16);
  EXPECT_EQ(cmd::SetPreferenceMenu(host, &menu), 16);
  EXPECT_EQ(cmd::GetPreferenceInfo(host, &menu, &timer), 16);
  EXPECT_EQ(cmd::Reset(host), 1);
  EXPECT_EQ(player.resetCount(), 0);
}

TEST_F(DeviceCommands, NoTransportOnWindows95OrAnUnknownSystem) {
  for (std::optional<int> os : {std::optional<int>(1), std::optional<int>(2), std::optional<int>()}) {
    host.os = os;
    char text[31];
    EXPECT_EQ(cmd::GetInquiry(host, text), 0);
    EXPECT_EQ(cmd::SetUserNameDevice(host, 1, "A"), 1);
    EXPECT_EQ(cmd::Reset(host), 1);
  }
  EXPECT_TRUE(host.log.created.empty());
  EXPECT_TRUE(player.commands().empty());
}

TEST_F(DeviceCommands, ContextChoosesByClassificationAndRefusesTopSubCommands) {
  host.admin = 2;
  devcmd::CommandContext context(host);
  EXPECT_EQ(context.transportKind(), TransportKind::kService);
  ASSERT_EQ(context.SelectDrive(3), hr::kOk);
  uint8_t block[8] = {};
  EXPECT_EQ(context.SendVendorCommand(0xC0, block, sizeof(block)), hr::kInvalidArg);
  EXPECT_EQ(context.Inquiry(block, 256), hr::kInvalidArg);
  EXPECT_TRUE(player.commands().empty());
  host.os = 4;
  EXPECT_EQ(devcmd::CommandContext(host).transportKind(), TransportKind::kVxd);
}

}  // namespace
