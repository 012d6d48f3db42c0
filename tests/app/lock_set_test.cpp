#include "app/lock_set.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <thread>

#include "app/lock_names.h"
#include "app/single_instance.h"
#include "tests/support/temp_dir.h"
#include "win32/unique_handle.h"

namespace {

const sys::OsVersion kXp{2, 5, 1, 2600};
const sys::OsVersion kNt4{2, 4, 0, 1381};

// The name another program published for a lock, read as it would.
std::string PublishedName(const std::string& mutexName) {
  win::UniqueHandle memory(::OpenFileMappingA(FILE_MAP_READ, FALSE, app::NameMemoryName(mutexName).c_str()));
  if (!memory) return "<none>";
  win::UniqueView view(::MapViewOfFile(memory.get(), FILE_MAP_READ, 0, 0, 0));
  return view.get() ? std::string(static_cast<const char*>(view.get())) : "<unmapped>";
}

bool MutexExists(const std::string& name) {
  win::UniqueHandle h(::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()));
  return static_cast<bool>(h);
}

class LockSetTest : public ::testing::Test {
 protected:
  // Locker names of their own, so nothing else in the prefix interferes.
  std::string x = testsupport::UniqueName("pm-locker-x");
  std::string y = testsupport::UniqueName("pm-locker-y");
};

TEST_F(LockSetTest, TheFirstTakerHoldsTheLockAndPublishesItsName) {
  app::CLockSet backup(kXp);
  ASSERT_TRUE(backup.AddLockerName(x));
  EXPECT_EQ(backup.AcquireLocal("Lumora Backup"), 0u);
  EXPECT_EQ(backup.LocalHolder(0), nullptr);
  EXPECT_EQ(backup.heldLocalLocks(), std::vector<std::string>{"Local\\l" + x});
  EXPECT_TRUE(MutexExists("Local\\l" + x));
  EXPECT_EQ(PublishedName("Local\\l" + x), "Lumora Backup");

  app::CLockSet pellmark(kXp);
  pellmark.AddLockerName(x);
  EXPECT_EQ(pellmark.AcquireLocal("Pellmark"), 1u);
  EXPECT_STREQ(pellmark.LocalHolder(0), "Lumora Backup");
  EXPECT_EQ(pellmark.LocalHolder(1), nullptr);
  EXPECT_TRUE(pellmark.heldLocalLocks().empty());
  // The scopes are separate: the global lock is still free.
  EXPECT_EQ(pellmark.AcquireGlobal("Pellmark"), 0u);
  EXPECT_EQ(pellmark.heldGlobalLocks(), std::vector<std::string>{"Global\\g" + x});
}

TEST_F(LockSetTest, TwoLocksHeldUnderOneNameCountOnceAndDifferentNamesEach) {
  app::CLockSet backup(kXp);
  backup.AddLockerName(x);
  backup.AddLockerName(y);
  ASSERT_EQ(backup.AcquireGlobal("Lumora Backup"), 0u);
  app::CLockSet pellmark(kXp);
  pellmark.AddLockerName(x);
  pellmark.AddLockerName(y);
  EXPECT_EQ(pellmark.AcquireGlobal("Pellmark"), 1u);
  EXPECT_STREQ(pellmark.GlobalHolder(0), "Lumora Backup");
  pellmark.ReleaseGlobal();

  backup.ReleaseGlobal();
  app::CLockSet a(kXp), b(kXp);
  a.AddLockerName(x);
  b.AddLockerName(y);
  ASSERT_EQ(a.AcquireGlobal("Lumora Backup"), 0u);
  ASSERT_EQ(b.AcquireGlobal("Lumora Sync"), 0u);
  EXPECT_EQ(pellmark.AcquireGlobal("Pellmark"), 2u);
  EXPECT_STREQ(pellmark.GlobalHolder(0), "Lumora Backup");
  EXPECT_STREQ(pellmark.GlobalHolder(1), "Lumora Sync");
}

TEST_F(LockSetTest, ReleasingHandsTheLockToTheNextTaker) {
  app::CLockSet first(kXp), second(kXp);
  first.AddLockerName(x);
  second.AddLockerName(x);
  ASSERT_EQ(first.AcquireLocal("First"), 0u);
  ASSERT_EQ(second.AcquireLocal("Second"), 1u);
  first.ReleaseLocal();
  EXPECT_FALSE(MutexExists("Local\\l" + x));
  EXPECT_EQ(first.LocalHolder(0), nullptr);
  EXPECT_EQ(second.AcquireLocal("Second"), 0u);
  EXPECT_EQ(PublishedName("Local\\l" + x), "Second");
  // Taking the same scope again does not count this process as a holder.
  EXPECT_EQ(second.AcquireLocal("Second"), 0u);
  EXPECT_EQ(second.heldLocalLocks().size(), 1u);
}

TEST_F(LockSetTest, OldSystemsGetNamesWithoutNamespaces) {
  app::CLockSet old(kNt4);
  old.AddLockerName(x);
  ASSERT_EQ(old.AcquireLocal("Pellmark"), 0u);
  ASSERT_EQ(old.AcquireGlobal("Pellmark"), 0u);
  EXPECT_EQ(old.heldLocalLocks(), std::vector<std::string>{"l" + x});
  EXPECT_EQ(old.heldGlobalLocks(), std::vector<std::string>{"g" + x});
  EXPECT_EQ(PublishedName("g" + x), "Pellmark");
}

TEST_F(LockSetTest, LockerNames) {
  app::CLockSet set(kXp);
  EXPECT_FALSE(set.AddLockerName(""));
  EXPECT_FALSE(set.AddLockerName(std::string(250, 'n')));  // "Global\g" + 250 > 256
  EXPECT_TRUE(set.AddLockerName("first"));
  EXPECT_TRUE(set.AddLockerName("second"));
  EXPECT_STREQ(set.LockerName(0), "first");
  EXPECT_STREQ(set.LockerName(1), "second");
  EXPECT_EQ(set.LockerName(2), nullptr);
  set.ClearLockerNames();
  EXPECT_EQ(set.LockerName(0), nullptr);
  EXPECT_EQ(set.AcquireLocal("Pellmark"), 0u);
  EXPECT_TRUE(set.heldLocalLocks().empty());
}

TEST_F(LockSetTest, AHolderNameWithoutTerminatorIsReadOnlyWithinBounds) {
  // Another program's lock whose name block holds no zero at all.
  const std::string mutexName = "Local\\l" + x;
  win::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, mutexName.c_str()));
  win::UniqueHandle memory(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                                app::NameMemoryName(mutexName).c_str()));
  void* view = ::MapViewOfFile(memory.get(), FILE_MAP_WRITE, 0, 0, 0);
  ASSERT_NE(view, nullptr);
  win::UniqueView owner(view);
  std::memset(view, 'A', 4096);
  app::CLockSet set(kXp);
  set.AddLockerName(x);
  ASSERT_EQ(set.AcquireLocal("Pellmark"), 1u);
  EXPECT_EQ(std::string(set.LocalHolder(0)), std::string(1024, 'A'));
}

TEST_F(LockSetTest, AHolderWithoutNameMemoryStillCounts) {
  win::UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, ("Global\\g" + x).c_str()));
  app::CLockSet set(kXp);
  set.AddLockerName(x);
  EXPECT_EQ(set.AcquireGlobal("Pellmark"), 1u);
  EXPECT_STREQ(set.GlobalHolder(0), "");
}

TEST_F(LockSetTest, TheWaitMutexIsReleasedForOtherProgramsAfterEachStep) {
  // Another thread keeps a handle to the wait mutex open, as a program
  // waiting for it would; it must be able to take it right after our step.
  win::UniqueHandle other(::CreateMutexA(nullptr, FALSE, app::kWaitMutexName));
  ASSERT_TRUE(other);
  app::CLockSet set(kXp);
  set.AddLockerName(x);
  set.AcquireLocal("Pellmark");
  DWORD wait = WAIT_FAILED;
  std::thread waiter([&] {
    wait = ::WaitForSingleObject(other.get(), 2000);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ::ReleaseMutex(other.get());
  });
  waiter.join();
  EXPECT_EQ(wait, static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(SingleInstance, OnlyTheFirstProcessOwnsTheEvent) {
  const std::string name = testsupport::UniqueName("pm-instance");
  {
    app::CSingleInstance first(name);
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(first.owned());
    app::CSingleInstance second(name);
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.owned());
  }
  app::CSingleInstance later(name);
  EXPECT_TRUE(later.acquire());
}

TEST(SingleInstance, ANameTheSystemRejectsCountsAsAnotherInstance) {
  // A backslash outside a namespace prefix makes the name invalid.
  app::CSingleInstance bad("No\\Such\\Namespace\\" + testsupport::UniqueName("pm"));
  EXPECT_FALSE(bad.acquire());
}

}  // namespace
