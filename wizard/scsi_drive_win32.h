// ScsiDrive: the wizard's own minimal pass-through access to one drive,
// enough to send it a standard INQUIRY. On the NT family it talks to the
// drive's volume with IOCTL_SCSI_PASS_THROUGH_DIRECT; on Windows 98 and Me
// through the maker's pass-through driver with the 22-byte request. Every
// system call goes through the command library's system seam, so tests can
// put a simulated player behind it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/hresult.h"
#include "devcmd/data_direction.h"
#include "devcmd/device_system.h"
#include "devcmd/seam_handle.h"
#include "wizard/inquiry_info.h"

namespace wizard {

constexpr int kNoDriveSelected = 255;
constexpr uint32_t kIoctlStorageQueryProperty = 0x2D1400;

class ScsiDrive {
 public:
  explicit ScsiDrive(devcmd::DeviceSystem& system);
  ScsiDrive(const ScsiDrive&) = delete;
  ScsiDrive& operator=(const ScsiDrive&) = delete;

  // Index 0 = A:, up to 25; the drive must be removable. kFail (and no
  // drive selected) otherwise.
  HRESULT Select(int index);
  // Opens the selected drive's volume (NT) or the driver (98/Me), closing
  // any handle first. On NT a drive whose storage stack will not describe
  // its adapter and its device is refused.
  HRESULT Open();
  void Close();
  // One command; kOk when the system carried the request, whatever the
  // device's status (the caller judges the data).
  HRESULT Send(const uint8_t* cdb, uint8_t cdbLength, uint8_t* buffer, uint32_t length,
               devcmd::DataDirection direction);
  // Select, Open, the 12-byte INQUIRY for 56 bytes, Close.
  HRESULT Inquire(int index, InquiryInfo& out);

  int selected() const { return m_nDrive; }
  bool isOpen() const { return m_handle.valid(); }
  bool isNt() const { return m_bNt; }

 private:
  HRESULT OpenVolume();
  HRESULT SendDirect(const uint8_t* cdb, uint8_t cdbLength, uint8_t* buffer, uint32_t length,
                     devcmd::DataDirection direction);
  HRESULT SendToDriver(const uint8_t* cdb, uint8_t cdbLength, uint8_t* buffer, uint32_t length,
                       devcmd::DataDirection direction);

  devcmd::DeviceSystem& m_system;
  bool m_bNt = true;
  int m_nDrive = kNoDriveSelected;
  devcmd::SeamHandle m_handle;
  uint32_t m_nTimeoutSeconds = kInquiryTimeoutSeconds;
};

}  // namespace wizard
