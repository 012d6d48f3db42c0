// No Windows version and no Windows token outside Windows.
#include "devcmd/os_rights.h"

namespace osrights {

std::optional<VersionRecord> ReadVersionRecord() { return std::nullopt; }

std::optional<std::vector<TokenGroup>> ReadTokenGroups() { return std::nullopt; }

}  // namespace osrights
