#include "devcmd/os_kind.h"

namespace osrights {

std::optional<int> ClassifyOsKind(const VersionRecord& v) {
  switch (v.platformId) {
    case kPlatformWin32s:
      return kOsWin32s;
    case kPlatformWindows9x:
      // Windows 95 is 4.0, 98 is 4.10 and Me is 4.90.
      if (v.minor == 0) return kOsWindows95;
      if (v.major > 4 || (v.major == 4 && v.minor > 89)) return kOsWindowsMe;
      return kOsWindows98;
    case kPlatformNt:
      if (v.major <= 4) return kOsWindowsNt4;
      // Only 5.0 is Windows 2000. Every later version (5.1, 5.2, 6.x, 10.0)
      // counts as XP: a test of the minor version alone would take Vista's
      // 6.0 or Windows 10's 10.0 for Windows 2000 and choose the wrong
      // transport for a plain user there.
      if (v.major == 5 && v.minor == 0) return kOsWindows2000;
      return kOsWindowsXp;
    default:
      return std::nullopt;
  }
}

}  // namespace osrights
