// The exports and transports on a simulated system: which route each
// system takes, the requests each route sends, and how each judges the
// outcome.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "devcmd/pass_through_layout.h"
#include "devcmd/volume_transport.h"
#include "devcmd/win32_command_host.h"
#include "tests/devcmd/simulated_fixture.h"

namespace {

using devcmd::PassThroughFields;
using devcmdtest::kPlayerDrive;
using Bytes = std::vector<uint8_t>;

class Routes : public devcmdtest::SimulatedSystemTest {
 protected:
  PassThroughFields LastBlock() {
    const Bytes block = sim.lastPassThroughBlock();
    EXPECT_GE(block.size(), devcmd::LayoutFor(devcmd::kNativePointerWidth).headerSize);
    return devcmd::DecodePassThrough(devcmd::kNativePointerWidth, block);
  }
  int ResetResult() {
    int result = -1;
    EXPECT_EQ(Reset(&result), 0);
    return result;
  }
};

TEST_F(Routes, XpAdministratorUsesTheVolumeOneHandlePerCommand) {
  EXPECT_EQ(ResetResult(), 0);
  int result = -1;
  EXPECT_EQ(SetUserNameDevice(0x0102, "AB", &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(player.resetCount(), 1);
  EXPECT_EQ(player.owner()->name, "AB");

  const auto c = sim.counters();
  EXPECT_EQ(c.volumeOpens, 2);
  EXPECT_EQ(c.closes, 2);
  EXPECT_EQ(c.directRequests, 2);
  EXPECT_EQ(c.coCreateInstance, 0);
  const auto open = sim.opens().at(0);
  EXPECT_EQ(open.name, "\\\\.\\D:");
  EXPECT_EQ(open.access, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
  EXPECT_EQ(open.share, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE));
  EXPECT_EQ(open.disposition, static_cast<DWORD>(OPEN_EXISTING));
  EXPECT_EQ(open.flags, 0u);

  const PassThroughFields f = LastBlock();
  EXPECT_EQ(f.length, sizeof(void*) == 8 ? 56 : 44);
  EXPECT_EQ(f.pathId, 0);
  EXPECT_EQ(f.targetId, 1);
  EXPECT_EQ(f.lun, 0);
  EXPECT_EQ(f.cdbLength, 12);
  EXPECT_EQ(f.senseInfoLength, 18);
  EXPECT_EQ(f.dataIn, devcmd::kDataInToDevice);
  EXPECT_EQ(f.dataTransferLength, 50u);
  EXPECT_EQ(f.timeOutValue, 5u);
  EXPECT_EQ(f.senseInfoOffset, devcmd::LayoutFor(devcmd::kNativePointerWidth).senseArea);
  EXPECT_EQ(Bytes(f.cdb.begin(), f.cdb.begin() + 12),
            (Bytes{0xFC, 0, 0x41, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 50}));
}

TEST_F(Routes, NtFourAndWindows2000UseTheVolume) {
  for (int os : {5, 6}) {
    sim.setClassification(os, 1);
    EXPECT_EQ(ResetResult(), 0);
  }
  EXPECT_EQ(sim.counters().directRequests, 2);
  const PassThroughFields f = LastBlock();
  EXPECT_EQ(f.dataIn, devcmd::kDataInNone);
  EXPECT_EQ(f.dataTransferLength, 0u);
  EXPECT_EQ(f.dataBuffer, 0u);
}

TEST_F(Routes, XpPlainUserUsesTheServiceEvenThoughTheVolumeWouldOpen) {
  sim.setClassification(7, 2);
  // No service installed: creation fails, COM is initialised and it fails
  // again, and the initialisation is undone with the context.
  sim.failCoCreateInstance(REGDB_E_CLASSNOTREG, 2);
  EXPECT_EQ(ResetResult(), 1);
  const auto c = sim.counters();
  EXPECT_EQ(c.coCreateInstance, 2);
  EXPECT_EQ(c.coInitialize, 1);
  EXPECT_EQ(c.coUninitialize, 1);
  EXPECT_EQ(c.volumeOpens, 0);
  EXPECT_EQ(player.resetCount(), 0);
}

TEST_F(Routes, Windows98UsesTheDriverOpenedAtLoad) {
  sim.setClassification(3, 0);
  sim.installDriver();
  devcmd::OpenDriverConnection(sim);
  const auto open = sim.opens().at(0);
  EXPECT_EQ(open.name, "\\\\.\\KeltanSPTI");
  EXPECT_EQ(open.access, 0u);
  EXPECT_EQ(open.share, 0u);
  EXPECT_EQ(open.disposition, static_cast<DWORD>(CREATE_NEW));
  EXPECT_EQ(open.flags, static_cast<DWORD>(FILE_FLAG_DELETE_ON_CLOSE));

  int result = -1;
  EXPECT_EQ(SetUserNameDevice(0x0102, "AB", &result), 0);
  EXPECT_EQ(result, 0);
  ASSERT_TRUE(sim.lastDriverRequest());
  const devcmd::DriverRequest r = *sim.lastDriverRequest();
  // Copies of the packed fields, which gtest cannot take references to.
  const int drive = r.drive, cdbLength = r.cdbLength, senseLength = r.senseLength, direction = r.direction;
  const uint32_t dataLength = r.dataLength, dataAddress = r.dataAddress;
  EXPECT_EQ(drive, kPlayerDrive);
  EXPECT_EQ(cdbLength, 12);
  EXPECT_EQ(dataLength, 50u);
  EXPECT_NE(dataAddress, 0u);
  EXPECT_EQ(senseLength, 18);
  EXPECT_EQ(direction, 2);
  EXPECT_EQ(player.owner()->number, 0x0102);

  char text[31];
  EXPECT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(text, "KELTAN   PELLMARK PLAYER  1.00");
  EXPECT_EQ(static_cast<int>(sim.lastDriverRequest()->direction), 1);
  EXPECT_EQ(player.commands().back().cdb, (Bytes{0x12, 0, 0, 0, 36, 0}));
  EXPECT_EQ(sim.counters().volumeOpens, 0);
  EXPECT_EQ(sim.counters().closes, 0);  // the driver stays open until unload
}

TEST_F(Routes, MissingDriverFailsEveryCommandOnMe) {
  sim.setClassification(4, 0);
  devcmd::OpenDriverConnection(sim);
  EXPECT_EQ(sim.counters().driverOpens, 1);
  EXPECT_EQ(devcmd::DriverConnectionHandle(), nullptr);
  int result = -1;
  EXPECT_EQ(SetUserNameDevice(1, "A", &result), 0);
  EXPECT_EQ(result, 16);
  EXPECT_EQ(ResetResult(), 1);
  char text[31];
  EXPECT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(result, 0);
}

TEST_F(Routes, NtFamilyOpensNoDriver) {
  sim.installDriver();
  devcmd::OpenDriverConnection(sim);
  EXPECT_EQ(sim.counters().driverOpens, 0);
  EXPECT_EQ(devcmd::DriverConnectionHandle(), nullptr);
}

TEST_F(Routes, SenseKeyFailsTheVolumeRouteButNotTheDriverRoute) {
  player.reportSense(scsiplayer::kSenseIllegalRequest, 0x24, 0);
  int result = -1;
  EXPECT_EQ(SetUserNameDevice(1, "A", &result), 0);
  EXPECT_EQ(result, 16);

  sim.setClassification(3, 0);
  sim.installDriver();
  devcmd::OpenDriverConnection(sim);
  EXPECT_EQ(SetUserNameDevice(1, "A", &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(player.commands().size(), 2u);
  EXPECT_FALSE(player.owner());  // the device did not carry it out
}

TEST_F(Routes, InquiryTakesTheBufferedRequestUnlessTheSettingSaysOtherwise) {
  char text[31];
  int result = -1;
  ASSERT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(text, "KELTAN   PELLMARK PLAYER  1.00");
  PassThroughFields f = LastBlock();
  EXPECT_EQ(sim.counters().bufferedRequests, 1);
  EXPECT_EQ(f.timeOutValue, 2u);
  EXPECT_EQ(f.dataTransferLength, 512u);
  EXPECT_EQ(f.senseInfoLength, 24);
  EXPECT_EQ(f.dataBuffer, devcmd::LayoutFor(devcmd::kNativePointerWidth).dataArea);

  sim.setRegistryString(devcmd::kInquirySettingKey, "GetInquiryType", "0");
  ASSERT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(sim.counters().directRequests, 1);
  f = LastBlock();
  EXPECT_EQ(f.timeOutValue, 5u);
  EXPECT_EQ(f.dataIn, devcmd::kDataInFromDevice);
  EXPECT_EQ(Bytes(f.cdb.begin(), f.cdb.begin() + f.cdbLength), (Bytes{0x12, 0, 0, 0, 36, 0}));
  EXPECT_STREQ(text, "KELTAN   PELLMARK PLAYER  1.00");

  sim.setRegistryString(devcmd::kInquirySettingKey, "GetInquiryType", "1");
  ASSERT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(sim.counters().bufferedRequests, 2);
  sim.setRegistryValue(devcmd::kInquirySettingKey, "GetInquiryType", REG_DWORD, {0, 0, 0, 0});
  ASSERT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(sim.counters().directRequests, 2);
  // Longer than the 260 bytes read: unreadable, so the default route.
  sim.setRegistryString(devcmd::kInquirySettingKey, "GetInquiryType", "0" + std::string(300, ' '));
  ASSERT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(sim.counters().bufferedRequests, 3);
  EXPECT_EQ(sim.counters().registryOpens, 5);
}

TEST_F(Routes, OnlyRemovableFixedAndCdromDrivesCanBeSelected) {
  sim.addDrive('C', DRIVE_FIXED, &player);
  sim.addDrive('E', DRIVE_CDROM, &player);
  sim.addDrive('N', DRIVE_REMOTE, &player);
  sim.addDrive('R', DRIVE_RAMDISK, &player);
  const struct {
    int drive;
    int expected;
  } cases[] = {{2, 0}, {4, 0}, {13, 1}, {17, 1}, {26, 1}, {-1, 1}, {30, 1}, {25, 1}};
  for (const auto& c : cases) {
    SetDriveNo(c.drive);
    EXPECT_EQ(ResetResult(), c.expected) << "drive " << c.drive;
  }
  EXPECT_EQ(player.resetCount(), 2);

  devcmd::VolumeTransport volume(sim);
  EXPECT_EQ(volume.SelectDrive(3), hr::kOk);
  EXPECT_EQ(volume.SelectDrive(26), hr::kInvalidArg);
  EXPECT_EQ(volume.selectedDrive(), -1);
  EXPECT_EQ(volume.SelectDrive(-1), hr::kInvalidArg);
  EXPECT_EQ(volume.selectedDrive(), -1);
  EXPECT_EQ(volume.SelectDrive(13), hr::kInvalidArg);
  EXPECT_EQ(volume.selectedDrive(), -1);
}

TEST_F(Routes, AFailedVolumeOpenClearsTheDrive) {
  sim.refuseVolumeOpen('D', ERROR_ACCESS_DENIED);
  devcmd::VolumeTransport volume(sim);
  ASSERT_EQ(volume.SelectDrive(kPlayerDrive), hr::kOk);
  const uint8_t cdb[12] = {0xFC, 0, 0x80, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 0};
  EXPECT_EQ(volume.SendNoData(cdb, 12), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(volume.selectedDrive(), -1);
  EXPECT_EQ(volume.SendNoData(cdb, 12), hr::kUnexpected);
  EXPECT_EQ(sim.counters().volumeOpens, 1);
  // A CDB longer than the request's 16 bytes is refused before any open.
  ASSERT_EQ(volume.SelectDrive(kPlayerDrive), hr::kOk);
  const uint8_t longCdb[17] = {0xFC};
  EXPECT_EQ(volume.SendNoData(longCdb, 17), hr::kInvalidArg);
  EXPECT_EQ(volume.SendNoData(nullptr, 12), hr::kPointer);
  EXPECT_EQ(sim.counters().volumeOpens, 1);
}

TEST_F(Routes, RefusedRequestsAndDeviceStatusOnTheVolume) {
  player.refuseRequests(ERROR_NOT_SUPPORTED);
  EXPECT_EQ(ResetResult(), 1);
  char text[31];
  int result = -1;
  EXPECT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Bytes(text, text + 31), Bytes(31, 0));
  player.acceptRequests();

  player.setPreferenceStatus(5);
  SETPREFERENCEMENU menu;
  std::memset(&menu, 0x33, sizeof(menu));
  SETPREFERENCETIMERREC timer;
  std::memset(&timer, 0x33, sizeof(timer));
  EXPECT_EQ(GetPreferenceInfo(&menu, &timer, &result), 0);
  EXPECT_EQ(result, 5);
  EXPECT_EQ(menu.value, 0x3333);
  EXPECT_EQ(timer.bytes[19], 0x33);

  player.setPreferenceStatus(0);
  menu.value = 0x1234;
  EXPECT_EQ(SetPreferenceMenu(&menu, &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(player.preferenceMenu()[12], 0x12);
  EXPECT_EQ(player.preferenceMenu()[13], 0x34);
  SETPREFERENCEMENU back{};
  EXPECT_EQ(GetPreferenceInfo(&back, &timer, &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(back.value, 0x1234);
  EXPECT_EQ(back.lead[0], 0x33);
}

TEST_F(Routes, ExportsRefuseMissingResultAndLongNames) {
  SetDriveNo(30);
  EXPECT_EQ(ResetResult(), 1);
  EXPECT_EQ(Reset(nullptr), static_cast<int>(hr::kPointer));
  EXPECT_EQ(SetDriveNo(3), 0);
  int result = -1;
  EXPECT_EQ(SetUserNameDevice(1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", &result), 0);
  EXPECT_EQ(result, 16);
  EXPECT_EQ(sim.counters().volumeOpens, 0);
  EXPECT_TRUE(player.commands().empty());
}

TEST_F(Routes, Windows95HasNoRoute) {
  sim.setClassification(2, 0);
  sim.installDriver();
  devcmd::OpenDriverConnection(sim);  // outside the NT family: opened, but unused
  EXPECT_EQ(ResetResult(), 1);
  int result = -1;
  char text[31];
  EXPECT_EQ(GetInquiry(text, &result), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(sim.counters().driverRequests + sim.counters().volumeOpens, 0);
}

}  // namespace
