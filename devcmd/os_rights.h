// The running system's OsKind and AdminLevel, read from the system: the
// version from GetVersionExA, the groups from the process token. On systems
// other than Windows there is no Windows version, so OsKind fails and
// AdminLevel is 0.
#pragma once

#include <optional>
#include <vector>

#include "devcmd/admin_level.h"
#include "devcmd/os_kind.h"

namespace osrights {

// The version as GetVersionExA reports it; empty when it cannot be read.
std::optional<VersionRecord> ReadVersionRecord();

// The groups of the process token; empty when any step of the query fails.
std::optional<std::vector<TokenGroup>> ReadTokenGroups();

// OsKind of the running system; empty when it cannot be classified.
std::optional<int> OsKind();

// AdminLevel of the current user, computed on the first call and then kept
// for the life of the process.
int AdminLevel();

// What AdminLevel computes, without the cache.
int ComputeAdminLevel();

}  // namespace osrights
