// ScsiTransport: one way of passing a SCSI command block to the player's
// drive. The three routes (volume handle, 9x driver, maker's service) are in
// the Win32 part of the library; this interface is portable so that the
// commands above it can be built and checked anywhere.
#pragma once

#include <cstdint>

#include "common/hresult.h"

namespace devcmd {

class ScsiTransport {
 public:
  static constexpr uint32_t kDefaultTimeoutSeconds = 5;
  static constexpr uint32_t kMaxCdbLength = 16;

  virtual ~ScsiTransport() = default;
  // Each operation returns kOk on success and a failure code otherwise.
  virtual HRESULT SendNoData(const uint8_t* cdb, uint32_t cdbLength) = 0;
  virtual HRESULT SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) = 0;
  // The buffer is not const: the 9x driver receives it as its output buffer.
  virtual HRESULT SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) = 0;
  // A standard INQUIRY for length bytes (1 to 255), by the route's own means.
  virtual HRESULT Inquiry(uint8_t* buffer, uint32_t length) = 0;
  // Index 0 to 25 of a removable, fixed or CD-ROM drive; anything else
  // fails and leaves no drive selected.
  virtual HRESULT SelectDrive(int index) = 0;

  int selectedDrive() const { return m_nDrive; }
  // SCSI status byte of the last command, where the route reports one.
  uint8_t scsiStatus() const { return m_byScsiStatus; }

 protected:
  // The checks every route makes before it sends: a drive is selected, the
  // CDB is there and fits the 16 bytes every request format has room for,
  // and a data length comes with a buffer.
  HRESULT CheckCommand(const uint8_t* cdb, uint32_t cdbLength, const uint8_t* buffer, uint32_t length) const {
    if (m_nDrive < 0) return hr::kUnexpected;
    if (cdb == nullptr || (buffer == nullptr && length != 0)) return hr::kPointer;
    if (cdbLength == 0 || cdbLength > kMaxCdbLength) return hr::kInvalidArg;
    return hr::kOk;
  }

  int m_nDrive = -1;
  uint8_t m_byScsiStatus = 0;
  uint32_t m_dwTimeoutSeconds = kDefaultTimeoutSeconds;
};

}  // namespace devcmd
