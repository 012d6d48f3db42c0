// ScsiDrive and IsPlayer against the simulated player behind the command
// library's system seam.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "devcmd/pass_through_layout.h"
#include "devcmd/seam_handle.h"
#include "stand-ins/scsi_player/simulated_device_system.h"
#include "stand-ins/scsi_player/simulated_player.h"
#include "wizard/player_check_win32.h"
#include "wizard/scsi_drive_win32.h"

namespace {

constexpr int kDriveR = 'R' - 'A';

class ScsiDriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    player.setVendor("KELTAN");
    player.setProduct("Quintad Player");
    player.setRevision("1.02");
    player.setVendorSpecific("QUINTAD2");
    player.setDeviceCap(true);
    sim.addDrive('R', DRIVE_REMOVABLE, &player);
    sim.setClassification(7, 4);
  }
  void TearDown() override { EXPECT_EQ(sim.openHandles(), 0); }

  // IsPlayer with a SetDriveNo that records its argument and answers
  // setDriveNoResult.
  bool isPlayer(char letter) {
    return wizard::IsPlayer(letter, sim, [this](int drive) {
      drivesSet.push_back(drive);
      return setDriveNoResult;
    });
  }

  scsiplayer::SimulatedPlayer player;
  scsiplayer::SimulatedDeviceSystem sim;
  std::vector<int> drivesSet;
  int setDriveNoResult = 0;
};

TEST_F(ScsiDriveTest, InquiryOnNtGoesThroughTheVolumeAsOneDirectPassThrough) {
  wizard::ScsiDrive drive(sim);
  ASSERT_TRUE(drive.isNt());
  wizard::InquiryInfo info;
  ASSERT_EQ(drive.Inquire(kDriveR, info), hr::kOk);
  EXPECT_EQ(info.vendor, "KELTAN  ");
  EXPECT_EQ(info.product, "Quintad Player  ");
  EXPECT_EQ(info.revision, "1.02");
  EXPECT_EQ(info.vendorSpecific, "QUINTAD2");
  EXPECT_EQ(info.deviceCap, 1);
  EXPECT_FALSE(drive.isOpen());

  const auto opens = sim.opens();
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].name, "\\\\.\\R:");
  EXPECT_EQ(opens[0].access, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
  EXPECT_EQ(opens[0].share, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE));
  EXPECT_EQ(opens[0].disposition, static_cast<DWORD>(OPEN_EXISTING));
  EXPECT_EQ(opens[0].flags, 0u);
  const auto counters = sim.counters();
  EXPECT_EQ(counters.storageQueries, 2);
  EXPECT_EQ(counters.directRequests, 1);
  EXPECT_EQ(counters.bufferedRequests, 0);
  EXPECT_EQ(counters.closes, 1);

  const std::vector<uint8_t> block = sim.lastPassThroughBlock();
  constexpr auto layout = devcmd::LayoutFor(devcmd::kNativePointerWidth);
  ASSERT_EQ(block.size(), layout.directBlockSize);
  const devcmd::PassThroughFields f = devcmd::DecodePassThrough(devcmd::kNativePointerWidth, block);
  EXPECT_EQ(f.length, layout.headerSize);
  EXPECT_EQ(f.pathId, 0);
  EXPECT_EQ(f.targetId, 1);
  EXPECT_EQ(f.lun, 0);
  EXPECT_EQ(f.cdbLength, 12);
  EXPECT_EQ(f.senseInfoLength, 18);
  EXPECT_EQ(f.dataIn, 1);
  EXPECT_EQ(f.dataTransferLength, 56u);
  EXPECT_EQ(f.timeOutValue, 90u);
  EXPECT_EQ(f.senseInfoOffset, layout.senseArea);
  EXPECT_EQ(f.cdb, (std::array<uint8_t, 16>{0x12, 0, 0, 0, 0x38, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ScsiDriveTest, InquiryOnWindows98GoesToTheMakersDriver) {
  sim.setClassification(3, 0);
  sim.installDriver();
  wizard::ScsiDrive drive(sim);
  ASSERT_FALSE(drive.isNt());
  wizard::InquiryInfo info;
  ASSERT_EQ(drive.Inquire(kDriveR, info), hr::kOk);
  EXPECT_EQ(info.vendorSpecific, "QUINTAD2");

  const auto opens = sim.opens();
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].name, "\\\\.\\KeltanSPTI");
  EXPECT_EQ(opens[0].access, 0u);
  EXPECT_EQ(opens[0].share, 0u);
  EXPECT_EQ(opens[0].disposition, static_cast<DWORD>(CREATE_NEW));
  EXPECT_EQ(opens[0].flags, static_cast<DWORD>(FILE_FLAG_DELETE_ON_CLOSE));
  const auto request = sim.lastDriverRequest();
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->drive, kDriveR);
  EXPECT_EQ(request->cdbLength, 12);
  EXPECT_EQ(request->dataLength, 56u);
  EXPECT_EQ(request->senseLength, 18);
  EXPECT_EQ(request->direction, 1);
  EXPECT_NE(request->senseAddress, 0u);
  EXPECT_EQ(sim.counters().storageQueries, 0);
}

TEST_F(ScsiDriveTest, OpenAsksForTheAdapterHeaderAndThenTheDeviceDescriptor) {
  wizard::ScsiDrive drive(sim);
  ASSERT_EQ(drive.Select(kDriveR), hr::kOk);
  ASSERT_EQ(drive.Open(), hr::kOk);
  drive.Close();
  const auto queries = sim.storageQueries();
  ASSERT_EQ(queries.size(), 2u);
  // Property 1 (adapter), standard query, for the 8-byte header.
  EXPECT_EQ(queries[0].input, (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(queries[0].outputSize, 8u);
  // All zero: property 0 (device), standard query, 32 bytes in and out.
  EXPECT_EQ(queries[1].input, std::vector<uint8_t>(32, 0));
  EXPECT_EQ(queries[1].outputSize, 32u);
}

TEST_F(ScsiDriveTest, TheVolumeDescribesItsDeviceAndItsAdapterAsWindowsDoes) {
  HANDLE volume = sim.CreateFileA("\\\\.\\R:", GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  const devcmd::SeamHandle closer(sim, volume);
  auto query = [&](uint32_t property, uint32_t type, DWORD outSize, std::vector<uint8_t>& out) {
    uint8_t in[12] = {};
    std::memcpy(in, &property, 4);
    std::memcpy(in + 4, &type, 4);
    out.assign(outSize, 0xEE);
    DWORD returned = 0;
    const BOOL ok = sim.DeviceIoControl(volume, wizard::kIoctlStorageQueryProperty, in, sizeof(in),
                                        out.data(), outSize, &returned);
    out.resize(ok ? returned : 0);
    return ok != FALSE;
  };
  auto word = [](const std::vector<uint8_t>& d, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, d.data() + at, 4);
    return v;
  };
  std::vector<uint8_t> d;
  // The device descriptor: its header alone, then as much as fits.
  ASSERT_TRUE(query(0, 0, 8, d));
  ASSERT_EQ(d.size(), 8u);
  const uint32_t deviceSize = word(d, 4);
  EXPECT_GE(deviceSize, 40u);
  ASSERT_TRUE(query(0, 0, 32, d));
  ASSERT_EQ(d.size(), 32u);
  EXPECT_EQ(word(d, 4), deviceSize);
  EXPECT_EQ(d[8], 0);          // direct-access device
  EXPECT_EQ(d[10], 1);         // removable medium
  EXPECT_EQ(word(d, 28), 7u);  // on the USB bus
  ASSERT_TRUE(query(0, 0, 512, d));
  EXPECT_EQ(d.size(), deviceSize);
  // The adapter descriptor.
  ASSERT_TRUE(query(1, 0, 32, d));
  ASSERT_EQ(d.size(), 32u);
  EXPECT_EQ(d[24], 7);
  // Other properties and a buffer smaller than a header are refused.
  EXPECT_FALSE(query(99, 0, 32, d));
  EXPECT_FALSE(query(0, 0, 4, d));
}

TEST_F(ScsiDriveTest, SelectWantsARemovableDriveAndForgetsTheOldOneOnFailure) {
  sim.addDrive('C', DRIVE_FIXED);
  wizard::ScsiDrive drive(sim);
  EXPECT_EQ(drive.selected(), 255);
  EXPECT_EQ(drive.Select(kDriveR), hr::kOk);
  EXPECT_EQ(drive.selected(), kDriveR);
  EXPECT_EQ(drive.Select(2), hr::kFail);  // C: is fixed
  EXPECT_EQ(drive.selected(), 255);
  EXPECT_EQ(drive.Select(26), hr::kFail);
  EXPECT_EQ(drive.Select(-1), hr::kFail);
  // Without a handle nothing is sent.
  const auto cdb = wizard::MakeWizardInquiryRequest();
  uint8_t data[56];
  EXPECT_EQ(drive.Send(cdb.data(), 12, data, 56, devcmd::DataDirection::kIn), hr::kFail);
  EXPECT_EQ(sim.counters().directRequests, 0);
}

TEST_F(ScsiDriveTest, AnAdapterThatWillNotTellClosesTheVolume) {
  sim.refuseStorageQuery('R');
  wizard::ScsiDrive drive(sim);
  wizard::InquiryInfo info;
  EXPECT_EQ(drive.Inquire(kDriveR, info), hr::kFail);
  EXPECT_EQ(sim.counters().volumeOpens, 1);
  EXPECT_EQ(sim.counters().closes, 1);
  EXPECT_EQ(sim.counters().directRequests, 0);
}

TEST_F(ScsiDriveTest, ThePlayerIsRecognisedByNameAndDeviceCap) {
  EXPECT_TRUE(isPlayer('R'));
  EXPECT_EQ(drivesSet, std::vector<int>{kDriveR});
  EXPECT_TRUE(isPlayer('r'));  // lower case: the same drive index
  EXPECT_EQ(drivesSet.back(), kDriveR);

  player.setDeviceCap(false);
  EXPECT_FALSE(isPlayer('R'));

  // The player pads its name with blanks.
  player.setDeviceCap(true);
  player.setVendorSpecific("QUINTAD");
  EXPECT_FALSE(isPlayer('R'));
  player.setVendorSpecific("QUINTAD2 ");
  EXPECT_TRUE(isPlayer('R'));
  player.setVendorSpecific("OTHER");
  EXPECT_FALSE(isPlayer('R'));
}

TEST_F(ScsiDriveTest, ADriveThatCannotBeAskedIsOffered) {
  player.setVendorSpecific("OTHER");  // would be refused if it could answer
  sim.refuseStorageQuery('R');
  EXPECT_TRUE(isPlayer('R'));

  scsiplayer::SimulatedDeviceSystem other;
  other.setClassification(7, 4);
  other.addDrive('S', DRIVE_REMOVABLE, &player);
  other.refuseVolumeOpen('S');
  EXPECT_TRUE(wizard::IsPlayer('S', other, [](int) { return 0; }));

  // A bridge that refuses the pass-through request itself.
  scsiplayer::SimulatedDeviceSystem bridge;
  bridge.setClassification(7, 4);
  bridge.addDrive('T', DRIVE_REMOVABLE, &player);
  player.refuseRequests(ERROR_INVALID_FUNCTION);
  EXPECT_TRUE(wizard::IsPlayer('T', bridge, [](int) { return 0; }));
  EXPECT_EQ(other.openHandles(), 0);
  EXPECT_EQ(bridge.openHandles(), 0);
}

TEST_F(ScsiDriveTest, FloppiesOtherDriveTypesAndRejectedDrivesAreNeverAsked) {
  sim.addDrive('A', DRIVE_REMOVABLE, &player);
  sim.addDrive('B', DRIVE_REMOVABLE, &player);
  sim.addDrive('E', DRIVE_CDROM, &player);
  EXPECT_FALSE(isPlayer('A'));
  EXPECT_FALSE(isPlayer('b'));
  EXPECT_FALSE(isPlayer('E'));
  EXPECT_FALSE(isPlayer('Q'));  // no such drive
  EXPECT_TRUE(drivesSet.empty());
  setDriveNoResult = 1;
  EXPECT_FALSE(isPlayer('R'));
  EXPECT_EQ(drivesSet, std::vector<int>{kDriveR});
  EXPECT_EQ(sim.counters().volumeOpens, 0);
}

}  // namespace
