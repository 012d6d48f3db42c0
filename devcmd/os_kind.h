// OsKind: which Windows version is running, as one small code that the copy
// wizard and the device command library both decide from. The rule works on
// a plain version record so that it can be checked on any system; the
// process-wide reader is in os_rights.h.
#pragma once

#include <cstdint>
#include <optional>

namespace osrights {

// Codes of OsKind.
constexpr int kOsWin32s = 1;
constexpr int kOsWindows95 = 2;
constexpr int kOsWindows98 = 3;
constexpr int kOsWindowsMe = 4;
constexpr int kOsWindowsNt4 = 5;  // NT 4 and older NT versions
constexpr int kOsWindows2000 = 6;
constexpr int kOsWindowsXp = 7;  // XP and every later NT version

// Platform identifiers as GetVersionExA reports them.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformNt = 2;

struct VersionRecord {
  uint32_t platformId = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
};

// The OsKind code for a version record; empty for a platform that is none of
// Win32s, the Windows 9x family and the NT family.
std::optional<int> ClassifyOsKind(const VersionRecord& version);

// True for the codes of the NT family (5 to 7).
constexpr bool IsNtFamily(int osKind) { return osKind >= kOsWindowsNt4 && osKind <= kOsWindowsXp; }

}  // namespace osrights
