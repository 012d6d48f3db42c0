// AdminLevel: which rights the current user holds, as one small code. The
// rule works on a plain list of token groups so that it can be checked on
// any system; the process-wide, cached reader is in os_rights.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace osrights {

// Codes of AdminLevel.
constexpr int kAdminNotNt = 0;  // not an NT-family system
constexpr int kAdminNone = 1;   // none of the groups below, or the query failed
constexpr int kAdminUsers = 2;
constexpr int kAdminPowerUsers = 3;
constexpr int kAdminAdministrators = 4;

// Relative identifiers of the built-in groups.
constexpr uint32_t kRidAdministrators = 544;
constexpr uint32_t kRidUsers = 545;
constexpr uint32_t kRidPowerUsers = 547;

// Group attribute bit that makes a membership count (SE_GROUP_ENABLED); a
// deny-only group lacks it.
constexpr uint32_t kGroupEnabled = 0x4;

// A security identifier taken apart: revision, the 48-bit identifier
// authority (most significant byte first, as stored in a SID) and the
// sub-authorities.
struct SecurityId {
  uint8_t revision = 1;
  std::array<uint8_t, 6> authority{};
  std::vector<uint32_t> subAuthorities;
  bool operator==(const SecurityId&) const = default;
};

// S-1-5-32-rid: the NT authority (5), the built-in domain (32), the group.
SecurityId BuiltinGroupSid(uint32_t rid);

struct TokenGroup {
  SecurityId sid;
  uint32_t attributes = 0;
};

// The AdminLevel code. groups is empty when the token could not be read.
int ClassifyAdminLevel(bool ntPlatform, const std::optional<std::vector<TokenGroup>>& groups);

// Computes a level once, on first use, and answers every later call from
// the stored value; safe to call from several threads.
class AdminLevelCache {
 public:
  explicit AdminLevelCache(std::function<int()> compute) : m_compute(std::move(compute)) {}
  int get() {
    std::call_once(m_once, [this] { m_nLevel = m_compute(); });
    return m_nLevel;
  }

 private:
  std::function<int()> m_compute;
  std::once_flag m_once;
  int m_nLevel = kAdminNone;
};

}  // namespace osrights
