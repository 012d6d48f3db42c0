#include "devcmd/admin_level.h"

namespace osrights {

SecurityId BuiltinGroupSid(uint32_t rid) {
  SecurityId sid;
  sid.authority = {0, 0, 0, 0, 0, 5};
  sid.subAuthorities = {32, rid};
  return sid;
}

int ClassifyAdminLevel(bool ntPlatform, const std::optional<std::vector<TokenGroup>>& groups) {
  if (!ntPlatform) return kAdminNotNt;
  if (!groups) return kAdminNone;
  auto holds = [&](uint32_t rid) {
    const SecurityId wanted = BuiltinGroupSid(rid);
    for (const TokenGroup& g : *groups) {
      if ((g.attributes & kGroupEnabled) != 0 && g.sid == wanted) return true;
    }
    return false;
  };
  // Highest rights first: an administrator is usually in Users as well.
  if (holds(kRidAdministrators)) return kAdminAdministrators;
  if (holds(kRidPowerUsers)) return kAdminPowerUsers;
  if (holds(kRidUsers)) return kAdminUsers;
  return kAdminNone;
}

}  // namespace osrights
