#include "app/lock_set.h"

#include "app/named_lock.h"

namespace app {

CLockSet::CLockSet(const sys::OsVersion& version) : prefixes_(PrefixesFor(version)) {}

CLockSet::CLockSet() : CLockSet(sys::GetOsVersion()) {}

CLockSet::~CLockSet() {
  ReleaseLocal();
  ReleaseGlobal();
}

bool CLockSet::AddLockerName(const std::string& name) {
  if (name.empty() || MutexName(prefixes_.local, name).empty() || MutexName(prefixes_.global, name).empty())
    return false;
  lockerNames_.push_back(name);
  return true;
}

const char* CLockSet::LockerName(size_t index) const {
  return index < lockerNames_.size() ? lockerNames_[index].c_str() : nullptr;
}

void CLockSet::ClearLockerNames() { lockerNames_.clear(); }

size_t CLockSet::acquire(Scope& scope, const std::string& prefix, const std::string& applicationName) {
  release(scope);
  for (const std::string& lockerName : lockerNames_) {
    auto lock = std::make_unique<CNamedLock>(MutexName(prefix, lockerName));
    CNamedLock* taken = lock.get();
    scope.locks.push_back(std::move(lock));
    if (!taken->acquire(applicationName) && !taken->failed())
      AddHolderName(scope.holders, taken->holderName());
  }
  return scope.holders.size();
}

void CLockSet::release(Scope& scope) {
  scope.holders.clear();
  scope.locks.clear();  // each lock drops itself under the wait mutex
}

const char* CLockSet::holder(const Scope& scope, size_t index) {
  return index < scope.holders.size() ? scope.holders[index].c_str() : nullptr;
}

std::vector<std::string> CLockSet::held(const Scope& scope) {
  std::vector<std::string> names;
  for (const auto& lock : scope.locks)
    if (lock->held()) names.push_back(lock->mutexName());
  return names;
}

size_t CLockSet::AcquireLocal(const std::string& applicationName) {
  return acquire(local_, prefixes_.local, applicationName);
}

void CLockSet::ReleaseLocal() { release(local_); }

const char* CLockSet::LocalHolder(size_t index) const { return holder(local_, index); }

size_t CLockSet::AcquireGlobal(const std::string& applicationName) {
  return acquire(global_, prefixes_.global, applicationName);
}

void CLockSet::ReleaseGlobal() { release(global_); }

const char* CLockSet::GlobalHolder(size_t index) const { return holder(global_, index); }

std::vector<std::string> CLockSet::heldLocalLocks() const { return held(local_); }

std::vector<std::string> CLockSet::heldGlobalLocks() const { return held(global_); }

}  // namespace app
