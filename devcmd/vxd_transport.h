// VxdTransport: the maker's pass-through driver on Windows 98 and Me. The
// driver is opened once, when the library is loaded (driver_connection.h);
// each command is one 22-byte request with control code 1. Only the driver
// call is judged: the device's sense data does not make a command fail.
#pragma once

#include "devcmd/data_direction.h"
#include "devcmd/device_system.h"
#include "devcmd/scsi_transport.h"

namespace devcmd {

class VxdTransport final : public ScsiTransport {
 public:
  // driver is the library's driver handle (not owned), or empty.
  VxdTransport(DeviceSystem& system, HANDLE driver) : m_system(system), m_hDriver(driver) {}

  HRESULT SendNoData(const uint8_t* cdb, uint32_t cdbLength) override;
  HRESULT SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override;
  HRESULT SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override;
  // SendIn with the 6-byte INQUIRY CDB.
  HRESULT Inquiry(uint8_t* buffer, uint32_t length) override;
  HRESULT SelectDrive(int index) override;

 private:
  HRESULT SendRequest(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction, uint8_t* buffer,
                      uint32_t length);

  DeviceSystem& m_system;
  HANDLE m_hDriver;
};

}  // namespace devcmd
