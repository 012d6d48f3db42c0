// OsKind and AdminLevel rules, on version records and group lists built
// here.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "devcmd/admin_level.h"
#include "devcmd/os_kind.h"

namespace {

using namespace osrights;

std::optional<int> Kind(uint32_t platform, uint32_t major, uint32_t minor) {
  return ClassifyOsKind(VersionRecord{platform, major, minor});
}

TEST(OsKind, NtFamilyVersions) {
  EXPECT_EQ(Kind(kPlatformNt, 5, 0), 6);  // Windows 2000
  EXPECT_EQ(Kind(kPlatformNt, 5, 1), 7);  // XP
  EXPECT_EQ(Kind(kPlatformNt, 5, 2), 7);  // Server 2003
  EXPECT_EQ(Kind(kPlatformNt, 4, 0), 5);  // NT 4
  EXPECT_EQ(Kind(kPlatformNt, 3, 51), 5);
  // Later versions with a minor version of 0 are not Windows 2000.
  EXPECT_EQ(Kind(kPlatformNt, 6, 0), 7);   // Vista
  EXPECT_EQ(Kind(kPlatformNt, 6, 1), 7);   // 7
  EXPECT_EQ(Kind(kPlatformNt, 10, 0), 7);  // 10 and 11
}

TEST(OsKind, Windows9xFamilyAndWin32s) {
  EXPECT_EQ(Kind(kPlatformWindows9x, 4, 0), 2);   // 95
  EXPECT_EQ(Kind(kPlatformWindows9x, 4, 10), 3);  // 98
  EXPECT_EQ(Kind(kPlatformWindows9x, 4, 89), 3);
  EXPECT_EQ(Kind(kPlatformWindows9x, 4, 90), 4);  // Me
  EXPECT_EQ(Kind(kPlatformWindows9x, 5, 1), 4);
  EXPECT_EQ(Kind(kPlatformWin32s, 3, 11), 1);
  EXPECT_EQ(Kind(3, 5, 0), std::nullopt);  // Windows CE: none of the three
  EXPECT_TRUE(IsNtFamily(5) && IsNtFamily(7));
  EXPECT_FALSE(IsNtFamily(4) || IsNtFamily(8));
}

TokenGroup Group(std::vector<uint32_t> subs, uint32_t attributes) {
  TokenGroup g;
  g.sid.authority = {0, 0, 0, 0, 0, 5};
  g.sid.subAuthorities = std::move(subs);
  g.attributes = attributes;
  return g;
}

constexpr uint32_t kMandatoryEnabled = 0x7;  // mandatory, enabled by default, enabled
constexpr uint32_t kDenyOnly = 0x10;

TEST(AdminLevel, HighestEnabledBuiltinGroupWins) {
  std::vector<TokenGroup> groups = {Group({32, 545}, kMandatoryEnabled), Group({32, 544}, kMandatoryEnabled)};
  EXPECT_EQ(ClassifyAdminLevel(true, groups), 4);
  groups = {Group({32, 545}, kMandatoryEnabled), Group({32, 547}, kGroupEnabled)};
  EXPECT_EQ(ClassifyAdminLevel(true, groups), 3);
  groups = {Group({32, 545}, kGroupEnabled)};
  EXPECT_EQ(ClassifyAdminLevel(true, groups), 2);
}

TEST(AdminLevel, OnlyEnabledMembershipsOfTheBuiltinDomainCount) {
  // Administrators present but deny-only, as for a filtered token.
  std::vector<TokenGroup> groups = {Group({32, 544}, kDenyOnly), Group({32, 545}, kMandatoryEnabled)};
  EXPECT_EQ(ClassifyAdminLevel(true, groups), 2);
  // A domain group whose relative identifier happens to be 544.
  groups = {Group({21, 1111, 2222, 3333, 544}, kMandatoryEnabled)};
  EXPECT_EQ(ClassifyAdminLevel(true, groups), 1);
  // Another authority with the built-in sub-authorities.
  TokenGroup foreign = Group({32, 544}, kMandatoryEnabled);
  foreign.sid.authority = {0, 0, 0, 0, 0, 1};
  EXPECT_EQ(ClassifyAdminLevel(true, std::vector<TokenGroup>{foreign}), 1);
  EXPECT_EQ(ClassifyAdminLevel(true, std::vector<TokenGroup>{}), 1);
}

TEST(AdminLevel, NotNtAndFailedQuery) {
  std::vector<TokenGroup> admin = {Group({32, 544}, kMandatoryEnabled)};
  EXPECT_EQ(ClassifyAdminLevel(false, admin), 0);
  EXPECT_EQ(ClassifyAdminLevel(true, std::nullopt), 1);
}

TEST(AdminLevelCache, ComputesOnceAcrossCallsAndThreads) {
  std::atomic<int> computed{0};
  AdminLevelCache cache([&] {
    ++computed;
    return 4;
  });
  EXPECT_EQ(cache.get(), 4);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) threads.emplace_back([&] { EXPECT_EQ(cache.get(), 4); });
  for (auto& t : threads) t.join();
  EXPECT_EQ(cache.get(), 4);
  EXPECT_EQ(computed.load(), 1);
}

}  // namespace
