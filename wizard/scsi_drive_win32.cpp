#include "wizard/scsi_drive_win32.h"

#include <cstring>
#include <vector>

#include "devcmd/driver_request.h"
#include "devcmd/os_kind.h"
#include "devcmd/pass_through_layout.h"

namespace wizard {
namespace {

constexpr uint32_t kAdapterProperty = 1;  // StorageAdapterProperty
constexpr uint32_t kStandardQuery = 0;    // PropertyStandardQuery
constexpr size_t kPropertyQuerySize = 12;
constexpr size_t kDescriptorHeaderSize = 8;
// The device query's buffer: all zero, it asks for property 0 (the device
// descriptor) with the standard query, and takes the answer's first part.
constexpr size_t kDeviceQueryBufferSize = 32;
// Stored in milliseconds like the original setting, sent in seconds.
constexpr uint32_t kInquiryTimeoutMs = 90000;

std::string RootOf(int index) { return std::string(1, static_cast<char>('A' + index)) + ":\\"; }

}  // namespace

ScsiDrive::ScsiDrive(devcmd::DeviceSystem& system) : m_system(system) {
  const std::optional<int> os = system.OsKind();
  // An unclassified system is taken for NT: the volume route fails
  // harmlessly, while the driver route would create a device file.
  m_bNt = !os || osrights::IsNtFamily(*os);
}

HRESULT ScsiDrive::Select(int index) {
  if (index == m_nDrive && index != kNoDriveSelected) return hr::kOk;
  if (index < 0 || index > 25 || m_system.GetDriveTypeA(RootOf(index).c_str()) != DRIVE_REMOVABLE) {
    m_nDrive = kNoDriveSelected;
    return hr::kFail;
  }
  m_nDrive = index;
  return hr::kOk;
}

HRESULT ScsiDrive::Open() {
  Close();
  if (!m_bNt) {
    // Creating the device loads the maker's driver; it goes away again when
    // the handle is closed.
    HANDLE h = m_system.CreateFileA(devcmd::kDriverDeviceName, 0, 0, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE);
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return hr::kFail;
    m_handle = devcmd::SeamHandle(m_system, h);
    return hr::kOk;
  }
  return OpenVolume();
}

HRESULT ScsiDrive::OpenVolume() {
  if (m_nDrive == kNoDriveSelected) return hr::kFail;
  const std::string volume = std::string("\\\\.\\") + static_cast<char>('A' + m_nDrive) + ":";
  HANDLE h = m_system.CreateFileA(volume.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return hr::kFail;
  m_handle = devcmd::SeamHandle(m_system, h);

  // The storage stack must describe the drive, first its adapter (the
  // descriptor header), then the device; a drive that will not tell is not
  // asked further.
  uint8_t adapterQuery[kPropertyQuerySize] = {};
  std::memcpy(adapterQuery, &kAdapterProperty, 4);
  std::memcpy(adapterQuery + 4, &kStandardQuery, 4);
  uint8_t header[kDescriptorHeaderSize] = {};
  DWORD returned = 0;
  if (!m_system.DeviceIoControl(m_handle.get(), kIoctlStorageQueryProperty, adapterQuery,
                                sizeof(adapterQuery), header, sizeof(header), &returned)) {
    Close();
    return hr::kFail;
  }
  uint8_t deviceQuery[kDeviceQueryBufferSize] = {};
  if (!m_system.DeviceIoControl(m_handle.get(), kIoctlStorageQueryProperty, deviceQuery, sizeof(deviceQuery),
                                deviceQuery, sizeof(deviceQuery), &returned)) {
    Close();
    return hr::kFail;
  }
  return hr::kOk;
}

void ScsiDrive::Close() { m_handle.reset(); }

HRESULT ScsiDrive::Send(const uint8_t* cdb, uint8_t cdbLength, uint8_t* buffer, uint32_t length,
                        devcmd::DataDirection direction) {
  if (!m_handle.valid() || cdb == nullptr || cdbLength == 0 || cdbLength > devcmd::ptfield::kCdbSize)
    return hr::kFail;
  if (length != 0 && buffer == nullptr) return hr::kFail;
  return m_bNt ? SendDirect(cdb, cdbLength, buffer, length, direction)
               : SendToDriver(cdb, cdbLength, buffer, length, direction);
}

HRESULT ScsiDrive::SendDirect(const uint8_t* cdb, uint8_t cdbLength, uint8_t* buffer, uint32_t length,
                              devcmd::DataDirection direction) {
  // The structure, a 4-byte filler and a 32-byte sense area: 80 bytes with
  // 32-bit pointers, 96 in a 64-bit process (the system checks the
  // structure's size against its own).
  constexpr devcmd::PassThroughLayout layout = devcmd::LayoutFor(devcmd::kNativePointerWidth);
  std::vector<uint8_t> block(layout.directBlockSize, 0);
  const devcmd::PassThroughFields fields =
      devcmd::DirectRequestFields(devcmd::kNativePointerWidth, std::span<const uint8_t>(cdb, cdbLength),
                                  direction, length, reinterpret_cast<uintptr_t>(buffer), m_nTimeoutSeconds);
  devcmd::EncodePassThrough(devcmd::kNativePointerWidth, fields, block);
  DWORD returned = 0;
  const BOOL ok = m_system.DeviceIoControl(m_handle.get(), devcmd::kIoctlScsiPassThroughDirect, block.data(),
                                           static_cast<DWORD>(block.size()), block.data(),
                                           static_cast<DWORD>(block.size()), &returned);
  return ok ? hr::kOk : hr::kFail;
}

HRESULT ScsiDrive::SendToDriver(const uint8_t* cdb, uint8_t cdbLength, uint8_t* buffer, uint32_t length,
                                devcmd::DataDirection direction) {
  uint8_t sense[devcmd::kDriverSenseLength] = {};
  devcmd::DriverRequest request{};
  if (hr::Failed(devcmd::BuildDriverRequest(m_nDrive, reinterpret_cast<uintptr_t>(cdb), cdbLength,
                                            reinterpret_cast<uintptr_t>(buffer), length,
                                            reinterpret_cast<uintptr_t>(sense), direction, request)))
    return hr::kFail;
  DWORD returned = 0;
  const BOOL ok = m_system.DeviceIoControl(m_handle.get(), devcmd::kDriverControlCode, &request,
                                           sizeof(request), buffer, length, &returned);
  return ok ? hr::kOk : hr::kFail;
}

HRESULT ScsiDrive::Inquire(int index, InquiryInfo& out) {
  m_nTimeoutSeconds = kInquiryTimeoutMs / 1000;
  if (hr::Failed(Select(index)) || hr::Failed(Open())) return hr::kFail;
  const auto cdb = MakeWizardInquiryRequest();
  uint8_t answer[kInquiryAnswerLength] = {};
  const HRESULT sent =
      Send(cdb.data(), static_cast<uint8_t>(cdb.size()), answer, sizeof(answer), devcmd::DataDirection::kIn);
  Close();
  if (hr::Failed(sent)) return hr::kFail;
  out = ParseInquiryInfo(std::span<const uint8_t, kInquiryAnswerLength>(answer, kInquiryAnswerLength));
  return hr::kOk;
}

}  // namespace wizard
