#include "app/capacity_text.h"

#include <cstdio>

namespace app {

std::wstring FormatCapacityLine(int64_t freeBytes, int64_t capacityBytes) {
  constexpr double kBytesPerMb = 1048576.0;
  char text[96];
  std::snprintf(text, sizeof text, "%.2f MB / %.2f MB", static_cast<double>(freeBytes) / kBytesPerMb,
                static_cast<double>(capacityBytes) / kBytesPerMb);
  // Plain ASCII: digits, dots, signs, blanks, "MB" and the slash.
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

}  // namespace app
