#include "devcmd/vxd_transport.h"

#include "devcmd/drive_selection.h"
#include "devcmd/driver_request.h"
#include "devcmd/inquiry.h"
#include "devcmd/win32_result.h"

namespace devcmd {

HRESULT VxdTransport::SelectDrive(int index) { return SelectCheckedDrive(m_system, index, m_nDrive); }

HRESULT VxdTransport::SendRequest(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction,
                                  uint8_t* buffer, uint32_t length) {
  if (m_hDriver == nullptr || m_hDriver == INVALID_HANDLE_VALUE) return hr::kFail;
  HRESULT check = CheckCommand(cdb, cdbLength, buffer, length);
  if (hr::Failed(check)) return check;

  uint8_t sense[kDriverSenseLength] = {};
  DriverRequest request{};
  check = BuildDriverRequest(m_nDrive, reinterpret_cast<uintptr_t>(cdb), static_cast<uint16_t>(cdbLength),
                             reinterpret_cast<uintptr_t>(buffer), length, reinterpret_cast<uintptr_t>(sense),
                             direction, request);
  if (hr::Failed(check)) return check;
  DWORD returned = 0;
  // The driver moves the data through the addresses in the request; the
  // data buffer is its output buffer in every direction.
  if (!m_system.DeviceIoControl(m_hDriver, kDriverControlCode, &request, sizeof(request),
                                length ? buffer : nullptr, length, &returned))
    return LastErrorResult();
  return hr::kOk;
}

HRESULT VxdTransport::SendNoData(const uint8_t* cdb, uint32_t cdbLength) {
  return SendRequest(cdb, cdbLength, DataDirection::kNone, nullptr, 0);
}

HRESULT VxdTransport::SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) {
  return SendRequest(cdb, cdbLength, DataDirection::kIn, buffer, length);
}

HRESULT VxdTransport::SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) {
  return SendRequest(cdb, cdbLength, DataDirection::kOut, buffer, length);
}

HRESULT VxdTransport::Inquiry(uint8_t* buffer, uint32_t length) {
  if (length == 0 || length > 255) return hr::kInvalidArg;
  const InquiryCdb cdb = MakeInquiryCdb(static_cast<uint8_t>(length));
  return SendIn(cdb.data(), kInquiryCdbLength, buffer, length);
}

}  // namespace devcmd
