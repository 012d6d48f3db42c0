// The lock set: the exclusion locks this process takes for each locker name,
// in the local and in the global scope, and the names of the other programs
// found holding them. One static object of the program (see pellmark_app).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/lock_names.h"
#include "platform/system.h"

namespace app {

class CNamedLock;

// Its operations in this order: the table layout the maker's other
// programs use for the same object.
class ILockSet {
 public:
  virtual bool AddLockerName(const std::string& name) = 0;
  // Null past the end.
  virtual const char* LockerName(size_t index) const = 0;
  virtual void ClearLockerNames() = 0;
  // Takes every locker name's lock in the scope; returns how many distinct
  // other programs hold one of them.
  virtual size_t AcquireLocal(const std::string& applicationName) = 0;
  virtual void ReleaseLocal() = 0;
  virtual const char* LocalHolder(size_t index) const = 0;
  virtual size_t AcquireGlobal(const std::string& applicationName) = 0;
  virtual void ReleaseGlobal() = 0;
  virtual const char* GlobalHolder(size_t index) const = 0;
  virtual ~ILockSet() = default;
};

class CLockSet final : public ILockSet {
 public:
  // The version decides the name prefixes (app/lock_names.h).
  explicit CLockSet(const sys::OsVersion& version);
  CLockSet();  // with the running system's version
  ~CLockSet() override;

  // False (and nothing added) for an empty name or one whose mutex name
  // would be too long in either scope.
  bool AddLockerName(const std::string& name) override;
  const char* LockerName(size_t index) const override;
  void ClearLockerNames() override;
  // Taking a scope again first drops what it held, so that this process
  // never counts itself as a holder.
  size_t AcquireLocal(const std::string& applicationName) override;
  void ReleaseLocal() override;
  const char* LocalHolder(size_t index) const override;
  size_t AcquireGlobal(const std::string& applicationName) override;
  void ReleaseGlobal() override;
  const char* GlobalHolder(size_t index) const override;

  const LockPrefixes& prefixes() const { return prefixes_; }
  // Mutex names of the locks this process holds, for the log.
  std::vector<std::string> heldLocalLocks() const;
  std::vector<std::string> heldGlobalLocks() const;

 private:
  struct Scope {
    std::vector<std::unique_ptr<CNamedLock>> locks;
    std::vector<std::string> holders;
  };
  size_t acquire(Scope& scope, const std::string& prefix, const std::string& applicationName);
  static void release(Scope& scope);
  static const char* holder(const Scope& scope, size_t index);
  static std::vector<std::string> held(const Scope& scope);

  LockPrefixes prefixes_;
  std::vector<std::string> lockerNames_;
  Scope local_;
  Scope global_;
};

}  // namespace app
