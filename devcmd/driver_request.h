// The request of the maker's pass-through driver on Windows 98 and Me: 22
// bytes, byte-packed, little-endian, sent with control code 1. The addresses
// are 32-bit pointers into the caller's memory, which the driver reads and
// writes directly. The copy wizard's own pass-through code sends the same
// request.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "common/hresult.h"
#include "devcmd/data_direction.h"

namespace devcmd {

constexpr char kDriverDeviceName[] = "\\\\.\\KeltanSPTI";
constexpr uint32_t kDriverControlCode = 1;
constexpr uint16_t kDriverSenseLength = 18;

#pragma pack(push, 1)
struct DriverRequest {
  uint8_t drive;  // 0 = A:
  uint32_t cdbAddress;
  uint16_t cdbLength;
  uint32_t dataAddress;  // 0 when dataLength is 0
  uint32_t dataLength;
  uint32_t senseAddress;  // a zero-filled sense area
  uint16_t senseLength;   // 18
  uint8_t direction;      // DataDirection
};
#pragma pack(pop)

// The layout is the same whatever the width of a pointer: the fields are
// fixed-size and the structure packed.
static_assert(sizeof(DriverRequest) == 22);
static_assert(offsetof(DriverRequest, drive) == 0);
static_assert(offsetof(DriverRequest, cdbAddress) == 1);
static_assert(offsetof(DriverRequest, cdbLength) == 5);
static_assert(offsetof(DriverRequest, dataAddress) == 7);
static_assert(offsetof(DriverRequest, dataLength) == 11);
static_assert(offsetof(DriverRequest, senseAddress) == 15);
static_assert(offsetof(DriverRequest, senseLength) == 19);
static_assert(offsetof(DriverRequest, direction) == 21);
static_assert(std::endian::native == std::endian::little, "the driver reads its request little-endian");

// Fills a request from the caller's buffers. kInvalidArg when the drive is
// not 0 to 25, or when a buffer lies above 4 GiB, where a 32-bit address
// cannot reach it (possible only in a 64-bit process, which the 9x family
// never runs; sending a cut-off address would let the driver write into
// unrelated memory).
HRESULT BuildDriverRequest(int drive, uintptr_t cdb, uint16_t cdbLength, uintptr_t data, uint32_t dataLength,
                           uintptr_t sense, DataDirection direction, DriverRequest& out);

}  // namespace devcmd
