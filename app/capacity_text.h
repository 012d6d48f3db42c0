// The status line's capacity text: "free / capacity", each in MB with two
// decimals.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// "%.2f MB / %.2f MB" of the byte counts scaled by 2^-20. Negative counts
// (a library that reports nonsense) are shown as they are, not wrapped.
std::wstring FormatCapacityLine(int64_t freeBytes, int64_t capacityBytes);

}  // namespace app
