// Names and texts of the exclusion lock that the track manager shares with
// the player maker's other desktop programs. Each program that works with
// the player takes, per locker name, a named mutex in the local (session)
// and in the global namespace, and publishes its own name in a small shared
// memory block beside it, so that a program that finds the lock taken can
// tell the user who holds it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/system.h"

namespace app {

// The one locker name the track manager uses, and the name it registers.
constexpr const char* kBackupLockerName = "Keltan_LumoraBackupLocker";
constexpr const char* kApplicationLockName = "Pellmark";
// Serialises the test-and-register step of every cooperating program.
constexpr const char* kWaitMutexName = "Keltan_LmrBootCheckerWait1";
// Suffix of the shared memory that holds a lock holder's name.
constexpr const char* kNameMemorySuffix = "Name";
// Longest mutex name a lock may have.
constexpr size_t kMaxMutexNameLength = 256;

struct LockPrefixes {
  std::string local;
  std::string global;
};

// "Local\l" and "Global\g" on Windows NT 5.0 and later; "l" and "g" before,
// where the system has no namespaces (Windows 9x and NT 4).
LockPrefixes PrefixesFor(const sys::OsVersion& version);

// The single-instance event: "Global\Pellmark", or "Pellmark" on systems
// without namespaces, where the backslash would make the name invalid and
// every start would look like a second instance.
std::string InstanceEventName(const sys::OsVersion& version);

// prefix + locker name; empty when the result would be longer than
// kMaxMutexNameLength.
std::string MutexName(const std::string& prefix, const std::string& lockerName);
// mutex name + "Name".
std::string NameMemoryName(const std::string& mutexName);

// Adds a holder's name unless an equal one (exact, case-sensitive) is in the
// list already; true when it was added.
bool AddHolderName(std::vector<std::string>& holders, const std::string& name);

// The text of the box shown when the local lock is taken: the holders' names
// joined with ", ", then the message.
std::wstring LocalLockOutText(const std::vector<std::wstring>& holders, const std::wstring& message);
// The same for the global lock: each holder's name on a line of its own,
// then the message.
std::wstring GlobalLockOutText(const std::vector<std::wstring>& holders, const std::wstring& message);

}  // namespace app
