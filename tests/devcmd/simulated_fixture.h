// A test fixture that puts a simulated system in front of the library: a
// player behind removable drive D: (index 3) and the classification of an
// XP administrator, unless a test changes them.
#pragma once

#include <gtest/gtest.h>

#include "devcmd/device_system.h"
#include "devcmd/driver_connection.h"
#include "devcmd/vantle.h"
#include "stand-ins/scsi_player/simulated_device_system.h"
#include "stand-ins/scsi_player/simulated_player.h"

namespace devcmdtest {

constexpr int kPlayerDrive = 3;  // D:

class SimulatedSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.addDrive('D', DRIVE_REMOVABLE, &player);
    sim.setClassification(7, 4);
    devcmd::UseDeviceSystem(&sim);
    SetDriveNo(kPlayerDrive);
  }
  void TearDown() override {
    devcmd::CloseDriverConnection();
    devcmd::UseDeviceSystem(nullptr);
    SetDriveNo(-1);
    // Every handle and key the library opened came back.
    EXPECT_EQ(sim.openHandles(), 0);
  }

  scsiplayer::SimulatedPlayer player;
  scsiplayer::SimulatedDeviceSystem sim;
};

}  // namespace devcmdtest
