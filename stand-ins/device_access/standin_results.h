// Result codes the simulated player answers beside the common ones.
#pragma once

#include "common/hresult.h"

namespace standin {

constexpr HRESULT kNotConnected = hr::Make(0x8007048Fu);  // ERROR_DEVICE_NOT_CONNECTED
constexpr HRESULT kDiskFull = hr::Make(0x80070070u);      // ERROR_DISK_FULL
constexpr HRESULT kInvalidData = hr::Make(0x8007000Du);   // ERROR_INVALID_DATA
constexpr HRESULT kNotFound = hr::Make(0x80070490u);      // ERROR_NOT_FOUND
constexpr HRESULT kNotEmpty = hr::Make(0x80070091u);      // ERROR_DIR_NOT_EMPTY
constexpr HRESULT kTimeout = hr::Make(0x800705B4u);       // ERROR_TIMEOUT
constexpr HRESULT kNoSuchDevice = hr::Make(0x80070037u);  // ERROR_DEV_NOT_EXIST
constexpr HRESULT kWriteFault = hr::Make(0x8007001Du);    // ERROR_WRITE_FAULT
constexpr HRESULT kPending = hr::Make(0x8000000Au);       // E_PENDING: album creation refused
// A call the library's rules do not allow (outside a transaction, nested or
// unpaired transaction, export left open, block freed twice).
constexpr HRESULT kCallerError = hr::kUnexpected;

}  // namespace standin
