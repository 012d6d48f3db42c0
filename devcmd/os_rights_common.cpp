#include "devcmd/os_rights.h"

namespace osrights {

std::optional<int> OsKind() {
  std::optional<VersionRecord> version = ReadVersionRecord();
  if (!version) return std::nullopt;
  return ClassifyOsKind(*version);
}

int ComputeAdminLevel() {
  std::optional<VersionRecord> version = ReadVersionRecord();
  const bool nt = version && version->platformId == kPlatformNt;
  // The token is read only on the NT family; the 9x family has none.
  if (!nt) return kAdminNotNt;
  return ClassifyAdminLevel(true, ReadTokenGroups());
}

int AdminLevel() {
  static AdminLevelCache cache(ComputeAdminLevel);
  return cache.get();
}

}  // namespace osrights
