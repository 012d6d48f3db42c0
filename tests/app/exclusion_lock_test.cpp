#include "app/exclusion_lock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the start-up step asks of the lock set, with holders preset
// per scope.
class FakeLockSet final : public app::ILockSet {
 public:
  std::vector<std::string> localHolders, globalHolders, calls;

  bool AddLockerName(const std::string& name) override {
    calls.push_back("add " + name);
    lockers_.push_back(name);
    return true;
  }
  const char* LockerName(size_t i) const override {
    return i < lockers_.size() ? lockers_[i].c_str() : nullptr;
  }
  void ClearLockerNames() override { lockers_.clear(); }
  size_t AcquireLocal(const std::string& app) override {
    calls.push_back("local " + app);
    local_ = localHolders;
    return local_.size();
  }
  void ReleaseLocal() override {
    calls.push_back("release local");
    local_.clear();
  }
  const char* LocalHolder(size_t i) const override { return i < local_.size() ? local_[i].c_str() : nullptr; }
  size_t AcquireGlobal(const std::string& app) override {
    calls.push_back("global " + app);
    global_ = globalHolders;
    return global_.size();
  }
  void ReleaseGlobal() override {
    calls.push_back("release global");
    global_.clear();
  }
  const char* GlobalHolder(size_t i) const override {
    return i < global_.size() ? global_[i].c_str() : nullptr;
  }

 private:
  std::vector<std::string> lockers_, local_, global_;
};

const std::wstring kMessage = L" is using the player.";

TEST(ExclusionLock, FreeLockTakesBothScopesInOrderAndKeepsThem) {
  FakeLockSet locks;
  app::ExclusionOutcome outcome = app::TakeExclusionLock(locks, kMessage);
  EXPECT_FALSE(outcome.lockedOut);
  EXPECT_EQ(outcome.text, L"");
  EXPECT_EQ(locks.calls,
            (std::vector<std::string>{"add Keltan_LumoraBackupLocker", "local Pellmark", "global Pellmark"}));
  EXPECT_STREQ(locks.LockerName(0), "Keltan_LumoraBackupLocker");
}

TEST(ExclusionLock, LocalHoldersWinAndOnlyTheLocalScopeIsGivenUp) {
  FakeLockSet locks;
  locks.localHolders = {"Lumora Backup", "Lumora Sync"};
  locks.globalHolders = {"Other"};
  app::ExclusionOutcome outcome = app::TakeExclusionLock(locks, kMessage);
  EXPECT_TRUE(outcome.lockedOut);
  EXPECT_EQ(outcome.text, L"Lumora Backup, Lumora Sync is using the player.");
  EXPECT_EQ(locks.calls.back(), "release local");
}

TEST(ExclusionLock, GlobalHoldersEachOnTheirOwnLine) {
  FakeLockSet locks;
  locks.globalHolders = {"Lumora Backup", "Lumora Sync"};
  app::ExclusionOutcome outcome = app::TakeExclusionLock(locks, kMessage);
  EXPECT_TRUE(outcome.lockedOut);
  EXPECT_EQ(outcome.text, L"Lumora Backup\nLumora Sync\n is using the player.");
  EXPECT_EQ(locks.calls.back(), "release global");
}

TEST(ExclusionLock, HolderNamesAreAnsiText) {
  EXPECT_EQ(app::HolderNameText("Lumora"), L"Lumora");
  EXPECT_EQ(app::HolderNameText(""), L"");
  EXPECT_EQ(app::HolderNameText(nullptr), L"");
}

}  // namespace
