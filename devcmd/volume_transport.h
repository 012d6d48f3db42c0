// VolumeTransport: the system's own SCSI pass-through on the drive's volume
// handle (NT 4, 2000, and XP for an administrator). The handle is opened
// for each command and closed again before the command returns.
#pragma once

#include "devcmd/data_direction.h"
#include "devcmd/device_system.h"
#include "devcmd/scsi_transport.h"
#include "devcmd/seam_handle.h"

namespace devcmd {

class VolumeTransport final : public ScsiTransport {
 public:
  explicit VolumeTransport(DeviceSystem& system) : m_system(system) {}

  HRESULT SendNoData(const uint8_t* cdb, uint32_t cdbLength) override;
  HRESULT SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override;
  HRESULT SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override;
  // The buffered request: 512 bytes into the block, 2-second time-out.
  HRESULT Inquiry(uint8_t* buffer, uint32_t length) override;
  HRESULT SelectDrive(int index) override;

 private:
  // A direct request: the data moves straight between the device and the
  // caller's buffer.
  HRESULT SendDirect(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction, uint8_t* buffer,
                     uint32_t length);
  // Opens the volume unless a handle is open; opened tells whether this
  // call opened it. A failed open clears the selected drive.
  HRESULT OpenVolume(bool& opened);

  DeviceSystem& m_system;
  SeamHandle m_volume;
};

}  // namespace devcmd
