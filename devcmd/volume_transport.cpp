#include "devcmd/volume_transport.h"

#include <winioctl.h>
// After winioctl.h, which defines the control-code macros it uses.
#include <ntddscsi.h>

#include <array>
#include <cstddef>
#include <cstring>

#include "devcmd/drive_selection.h"
#include "devcmd/pass_through_layout.h"
#include "devcmd/win32_result.h"

namespace devcmd {

namespace {

constexpr PassThroughLayout kLayout = LayoutFor(kNativePointerWidth);

// The byte layouts written by EncodePassThrough are the system's own.
static_assert(IOCTL_SCSI_PASS_THROUGH_DIRECT == kIoctlScsiPassThroughDirect);
static_assert(IOCTL_SCSI_PASS_THROUGH == kIoctlScsiPassThrough);
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == kLayout.headerSize);
static_assert(sizeof(SCSI_PASS_THROUGH) == kLayout.headerSize);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, ScsiStatus) == ptfield::kScsiStatus);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, CdbLength) == ptfield::kCdbLength);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, DataIn) == ptfield::kDataIn);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, DataTransferLength) == ptfield::kDataTransferLength);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, TimeOutValue) == ptfield::kTimeOutValue);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer) == kLayout.dataBufferField);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, SenseInfoOffset) == kLayout.senseInfoOffsetField);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, Cdb) == kLayout.cdbField);
static_assert(offsetof(SCSI_PASS_THROUGH, DataBufferOffset) == kLayout.dataBufferField);
static_assert(offsetof(SCSI_PASS_THROUGH, SenseInfoOffset) == kLayout.senseInfoOffsetField);
static_assert(offsetof(SCSI_PASS_THROUGH, Cdb) == kLayout.cdbField);

struct DirectBlock {
  SCSI_PASS_THROUGH_DIRECT sptd;
  ULONG filler;
  UCHAR sense[kSenseAreaSize];
};
struct BufferedBlock {
  SCSI_PASS_THROUGH spt;
  ULONG filler;
  UCHAR sense[kSenseAreaSize];
  UCHAR data[kBufferedDataSize];
};
static_assert(sizeof(DirectBlock) == kLayout.directBlockSize);
static_assert(offsetof(DirectBlock, sense) == kLayout.senseArea);
static_assert(sizeof(BufferedBlock) == kLayout.bufferedBlockSize);
static_assert(offsetof(BufferedBlock, sense) == kLayout.senseArea);
static_assert(offsetof(BufferedBlock, data) == kLayout.dataArea);

// Closes the volume handle when the command that opened it returns.
class CloseIfOpened {
 public:
  CloseIfOpened(SeamHandle& handle, bool opened) : m_handle(handle), m_bOpened(opened) {}
  ~CloseIfOpened() {
    if (m_bOpened) m_handle.reset();
  }
  CloseIfOpened(const CloseIfOpened&) = delete;
  CloseIfOpened& operator=(const CloseIfOpened&) = delete;

 private:
  SeamHandle& m_handle;
  bool m_bOpened;
};

// The sense key byte: byte 2 of the sense data.
constexpr size_t kSenseKeyByte = 2;

}  // namespace

HRESULT VolumeTransport::SelectDrive(int index) {
  if (index >= 0 && index == m_nDrive) return hr::kOk;
  m_volume.reset();
  return SelectCheckedDrive(m_system, index, m_nDrive);
}

HRESULT VolumeTransport::OpenVolume(bool& opened) {
  opened = false;
  if (m_volume) return hr::kOk;
  const char name[] = {'\\', '\\', '.', '\\', static_cast<char>('A' + m_nDrive), ':', '\0'};
  HANDLE h = m_system.CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  OPEN_EXISTING, 0);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) {
    const HRESULT failure = LastErrorResult();
    // The drive has to be selected again before this context sends more.
    m_nDrive = -1;
    return failure;
  }
  m_volume = SeamHandle(m_system, h);
  opened = true;
  return hr::kOk;
}

HRESULT VolumeTransport::SendDirect(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction,
                                    uint8_t* buffer, uint32_t length) {
  HRESULT check = CheckCommand(cdb, cdbLength, buffer, length);
  if (hr::Failed(check)) return check;
  bool opened = false;
  check = OpenVolume(opened);
  if (hr::Failed(check)) return check;
  CloseIfOpened closer(m_volume, opened);

  alignas(8) std::array<uint8_t, kLayout.directBlockSize> block{};
  const PassThroughFields fields =
      DirectRequestFields(kNativePointerWidth, {cdb, cdbLength}, direction, length,
                          reinterpret_cast<uintptr_t>(length ? buffer : nullptr), m_dwTimeoutSeconds);
  EncodePassThrough(kNativePointerWidth, fields, block);
  DWORD returned = 0;
  if (!m_system.DeviceIoControl(m_volume.get(), kIoctlScsiPassThroughDirect, block.data(),
                                static_cast<DWORD>(block.size()), block.data(),
                                static_cast<DWORD>(block.size()), &returned))
    return LastErrorResult();
  m_byScsiStatus = block[ptfield::kScsiStatus];
  return block[kLayout.senseArea + kSenseKeyByte] == 0 ? hr::kOk : hr::kFail;
}

HRESULT VolumeTransport::SendNoData(const uint8_t* cdb, uint32_t cdbLength) {
  return SendDirect(cdb, cdbLength, DataDirection::kNone, nullptr, 0);
}

HRESULT VolumeTransport::SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) {
  return SendDirect(cdb, cdbLength, DataDirection::kIn, buffer, length);
}

HRESULT VolumeTransport::SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) {
  return SendDirect(cdb, cdbLength, DataDirection::kOut, buffer, length);
}

HRESULT VolumeTransport::Inquiry(uint8_t* buffer, uint32_t length) {
  if (m_nDrive < 0) return hr::kUnexpected;
  if (buffer == nullptr) return hr::kPointer;
  // The allocation length is one byte of the CDB, and the answer is copied
  // out of the 512-byte data area: more could not be asked for, nor copied
  // without reading past the block.
  if (length == 0 || length > 255) return hr::kInvalidArg;
  bool opened = false;
  HRESULT check = OpenVolume(opened);
  if (hr::Failed(check)) return check;
  CloseIfOpened closer(m_volume, opened);

  alignas(8) std::array<uint8_t, kLayout.bufferedBlockSize> block{};
  EncodePassThrough(kNativePointerWidth,
                    BufferedInquiryFields(kNativePointerWidth, static_cast<uint8_t>(length)), block);
  DWORD returned = 0;
  if (!m_system.DeviceIoControl(m_volume.get(), kIoctlScsiPassThrough, block.data(),
                                static_cast<DWORD>(block.size()), block.data(),
                                static_cast<DWORD>(block.size()), &returned))
    return LastErrorResult();
  m_byScsiStatus = block[ptfield::kScsiStatus];
  if (block[kLayout.senseArea + kSenseKeyByte] != 0) return hr::kFail;
  std::memcpy(buffer, block.data() + kLayout.dataArea, length);
  return hr::kOk;
}

}  // namespace devcmd
