// The blocks sent with the system's SCSI pass-through requests, written and
// read byte by byte for either pointer width, so that both layouts can be
// checked on any machine. The Win32 transport pins them against the
// system's own structures with static assertions.
//
// A block is a SCSI_PASS_THROUGH_DIRECT (or SCSI_PASS_THROUGH) structure, a
// 4-byte filler and a 32-byte sense area, followed for the buffered request
// by a 512-byte data area. With 32-bit pointers the structure is 44 bytes,
// the sense area starts at 48 and the blocks are 80 and 592 bytes. With
// 64-bit pointers the pointer field is 8 bytes at an 8-byte boundary, so
// the structure is 56 bytes, the sense area starts at 60 and the blocks are
// 96 and 608 bytes (the system checks Length against its own structure, so
// a 64-bit process cannot send the 32-bit form).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devcmd/data_direction.h"

namespace devcmd {

constexpr uint32_t kIoctlScsiPassThrough = 0x4D004;
constexpr uint32_t kIoctlScsiPassThroughDirect = 0x4D014;

enum class PointerWidth : uint8_t { k32 = 4, k64 = 8 };
constexpr PointerWidth kNativePointerWidth = sizeof(void*) == 8 ? PointerWidth::k64 : PointerWidth::k32;

// Offsets that do not depend on the pointer width.
namespace ptfield {
constexpr size_t kLength = 0;  // 16-bit
constexpr size_t kScsiStatus = 2;
constexpr size_t kPathId = 3;
constexpr size_t kTargetId = 4;
constexpr size_t kLun = 5;
constexpr size_t kCdbLength = 6;
constexpr size_t kSenseInfoLength = 7;
constexpr size_t kDataIn = 8;
constexpr size_t kDataTransferLength = 12;  // 32-bit
constexpr size_t kTimeOutValue = 16;        // 32-bit
constexpr size_t kCdbSize = 16;
}  // namespace ptfield

constexpr size_t kSenseAreaSize = 32;
constexpr size_t kBufferedDataSize = 512;

struct PassThroughLayout {
  size_t headerSize;           // the structure, and the value of its Length field
  size_t dataBufferField;      // DataBuffer (direct) or DataBufferOffset (buffered)
  size_t dataBufferFieldSize;  // the pointer width
  size_t senseInfoOffsetField;
  size_t cdbField;
  size_t senseArea;  // after the structure and the 4-byte filler
  size_t dataArea;   // after the sense area (buffered request only)
  size_t directBlockSize;
  size_t bufferedBlockSize;
};

constexpr size_t RoundUp(size_t v, size_t to) { return (v + to - 1) / to * to; }

constexpr PassThroughLayout LayoutFor(PointerWidth width) {
  const size_t p = static_cast<size_t>(width);
  const size_t dataBuffer = RoundUp(ptfield::kTimeOutValue + 4, p);
  const size_t senseOffset = dataBuffer + p;
  const size_t cdb = senseOffset + 4;
  const size_t header = RoundUp(cdb + ptfield::kCdbSize, p);
  const size_t sense = header + 4;
  const size_t data = sense + kSenseAreaSize;
  return PassThroughLayout{header,
                           dataBuffer,
                           p,
                           senseOffset,
                           cdb,
                           sense,
                           data,
                           RoundUp(data, p),
                           RoundUp(data + kBufferedDataSize, p)};
}

constexpr PassThroughLayout kLayout32 = LayoutFor(PointerWidth::k32);
constexpr PassThroughLayout kLayout64 = LayoutFor(PointerWidth::k64);
static_assert(kLayout32.headerSize == 44 && kLayout32.dataBufferField == 20 &&
              kLayout32.senseInfoOffsetField == 24 && kLayout32.cdbField == 28);
static_assert(kLayout32.senseArea == 48 && kLayout32.dataArea == 80);
static_assert(kLayout32.directBlockSize == 80 && kLayout32.bufferedBlockSize == 592);
static_assert(kLayout64.headerSize == 56 && kLayout64.dataBufferField == 24 &&
              kLayout64.senseInfoOffsetField == 32 && kLayout64.cdbField == 36);
static_assert(kLayout64.senseArea == 60 && kLayout64.dataArea == 92);
static_assert(kLayout64.directBlockSize == 96 && kLayout64.bufferedBlockSize == 608);

// Largest block of either kind and width, for buffers on the stack.
constexpr size_t kMaxPassThroughBlock = kLayout64.bufferedBlockSize;

// DataIn codes of the pass-through structures.
constexpr uint8_t kDataInToDevice = 0;    // SCSI_IOCTL_DATA_OUT
constexpr uint8_t kDataInFromDevice = 1;  // SCSI_IOCTL_DATA_IN
constexpr uint8_t kDataInNone = 2;        // SCSI_IOCTL_DATA_UNSPECIFIED
uint8_t DataInCode(DataDirection direction);

struct PassThroughFields {
  uint16_t length = 0;
  uint8_t scsiStatus = 0;
  uint8_t pathId = 0;
  uint8_t targetId = 0;
  uint8_t lun = 0;
  uint8_t cdbLength = 0;
  uint8_t senseInfoLength = 0;
  uint8_t dataIn = 0;
  uint32_t dataTransferLength = 0;
  uint32_t timeOutValue = 0;
  uint64_t dataBuffer = 0;  // an address (direct) or an offset into the block (buffered)
  uint32_t senseInfoOffset = 0;
  std::array<uint8_t, ptfield::kCdbSize> cdb{};
};

// Writes the structure at the start of block (headerSize bytes); the rest
// of the block is left alone.
void EncodePassThrough(PointerWidth width, const PassThroughFields& fields, std::span<uint8_t> block);
// Reads the structure from the start of block, which holds at least
// headerSize bytes.
PassThroughFields DecodePassThrough(PointerWidth width, std::span<const uint8_t> block);

// The direct request this library and the copy wizard send: Length of the
// structure, path 0, target 1, LUN 0, 18 bytes of sense into the block's
// sense area. cdb.size() must be 1 to 16.
PassThroughFields DirectRequestFields(PointerWidth width, std::span<const uint8_t> cdb,
                                      DataDirection direction, uint32_t transferLength, uint64_t dataAddress,
                                      uint32_t timeoutSeconds);

// The buffered INQUIRY request: 6-byte CDB 12 00 00 00 length 00, 24 bytes
// of sense, 512 bytes read into the data area, 2-second time-out.
PassThroughFields BufferedInquiryFields(PointerWidth width, uint8_t allocationLength);

}  // namespace devcmd
