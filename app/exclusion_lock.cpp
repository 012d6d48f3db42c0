#include "app/exclusion_lock.h"

#include <vector>

#include "platform/codepage.h"

namespace app {

std::wstring HolderNameText(const char* holder) {
  if (!holder) return std::wstring();
  std::u16string wide;
  if (!sys::ToUtf16(sys::kAnsiCodePage, holder, wide))
    return std::wstring(holder, holder + std::char_traits<char>::length(holder));
  return std::wstring(wide.begin(), wide.end());
}

namespace {

std::vector<std::wstring> Holders(const ILockSet& locks, bool local) {
  std::vector<std::wstring> names;
  for (size_t i = 0;; ++i) {
    const char* name = local ? locks.LocalHolder(i) : locks.GlobalHolder(i);
    if (!name) return names;
    names.push_back(HolderNameText(name));
  }
}

}  // namespace

ExclusionOutcome TakeExclusionLock(ILockSet& locks, const std::wstring& lockedOutMessage) {
  locks.AddLockerName(kBackupLockerName);
  const size_t localHolders = locks.AcquireLocal(kApplicationLockName);
  const size_t globalHolders = locks.AcquireGlobal(kApplicationLockName);
  ExclusionOutcome outcome;
  if (localHolders > 0) {
    outcome.lockedOut = true;
    outcome.text = LocalLockOutText(Holders(locks, true), lockedOutMessage);
    locks.ReleaseLocal();
  } else if (globalHolders > 0) {
    outcome.lockedOut = true;
    outcome.text = GlobalLockOutText(Holders(locks, false), lockedOutMessage);
    locks.ReleaseGlobal();
  }
  return outcome;
}

}  // namespace app
