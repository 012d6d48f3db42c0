#include "app/lock_names.h"

#include <gtest/gtest.h>

namespace {

sys::OsVersion Version(uint32_t platform, uint32_t major, uint32_t minor) {
  return sys::OsVersion{platform, major, minor, 0};
}

TEST(LockNames, NamespacesFromWindows2000OnAndPlainNamesBefore) {
  constexpr uint32_t k9x = 1, kNt = 2;
  EXPECT_EQ(app::PrefixesFor(Version(kNt, 5, 0)).local, "Local\\l");
  EXPECT_EQ(app::PrefixesFor(Version(kNt, 5, 0)).global, "Global\\g");
  EXPECT_EQ(app::PrefixesFor(Version(kNt, 6, 1)).global, "Global\\g");
  EXPECT_EQ(app::PrefixesFor(Version(kNt, 4, 0)).local, "l");
  EXPECT_EQ(app::PrefixesFor(Version(kNt, 4, 0)).global, "g");
  // Windows Me reports 4.90 on the 9x platform: still no namespaces.
  EXPECT_EQ(app::PrefixesFor(Version(k9x, 4, 90)).local, "l");
  // A 9x platform with a major version above 4 is not NT.
  EXPECT_EQ(app::PrefixesFor(Version(k9x, 5, 0)).global, "g");
  EXPECT_EQ(app::PrefixesFor(Version(0, 0, 0)).local, "l");
}

TEST(LockNames, InstanceEventFollowsTheSameRule) {
  EXPECT_EQ(app::InstanceEventName(Version(2, 5, 1)), "Global\\Pellmark");
  EXPECT_EQ(app::InstanceEventName(Version(2, 4, 0)), "Pellmark");
  EXPECT_EQ(app::InstanceEventName(Version(1, 4, 10)), "Pellmark");
}

TEST(LockNames, MutexAndNameMemoryNames) {
  EXPECT_EQ(app::MutexName("Local\\l", app::kBackupLockerName), "Local\\lKeltan_LumoraBackupLocker");
  EXPECT_EQ(app::NameMemoryName("Global\\gKeltan_LumoraBackupLocker"),
            "Global\\gKeltan_LumoraBackupLockerName");
  // 256 characters is the longest mutex name; one more is refused.
  EXPECT_EQ(app::MutexName("g", std::string(255, 'x')).size(), 256u);
  EXPECT_EQ(app::MutexName("g", std::string(256, 'x')), "");
}

TEST(LockNames, EqualHolderNamesCountOnceAndComparisonIsExact) {
  std::vector<std::string> holders;
  EXPECT_TRUE(app::AddHolderName(holders, "Lumora Backup"));
  EXPECT_FALSE(app::AddHolderName(holders, "Lumora Backup"));
  EXPECT_TRUE(app::AddHolderName(holders, "lumora backup"));
  EXPECT_TRUE(app::AddHolderName(holders, "Lumora Backup "));
  EXPECT_EQ(holders.size(), 3u);
}

TEST(LockNames, LockOutTexts) {
  const std::wstring message = L" is using the player.";
  EXPECT_EQ(app::LocalLockOutText({L"Lumora Backup"}, message), L"Lumora Backup is using the player.");
  EXPECT_EQ(app::LocalLockOutText({L"A", L"B", L"C"}, message), L"A, B, C is using the player.");
  EXPECT_EQ(app::GlobalLockOutText({L"A", L"B"}, message), L"A\nB\n is using the player.");
  // Without texts (no message module) only the names remain.
  EXPECT_EQ(app::LocalLockOutText({L"A", L"B"}, L""), L"A, B");
}

}  // namespace
