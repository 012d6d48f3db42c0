// One named lock of the exclusion protocol (app/lock_names.h): a mutex that
// marks ownership and, while this process holds it, a paging-file mapping
// with this program's name. Taking and dropping it both run under the wait
// mutex that all cooperating programs share.
#pragma once

#include <string>

#include "win32/unique_handle.h"

namespace app {

// The wait mutex for one scope of work: created owned, or, when another
// program has it, opened and waited for. Released and closed by the
// destructor.
class CWaitMutexScope {
 public:
  CWaitMutexScope();
  ~CWaitMutexScope();
  CWaitMutexScope(const CWaitMutexScope&) = delete;
  CWaitMutexScope& operator=(const CWaitMutexScope&) = delete;
  // False when the mutex could be neither created nor opened; the caller
  // goes on unserialised rather than not at all.
  bool owned() const { return owned_; }

 private:
  win::UniqueHandle mutex_;
  bool owned_ = false;
};

class CNamedLock {
 public:
  explicit CNamedLock(std::string mutexName);
  // Drops the lock under the wait mutex.
  ~CNamedLock();
  CNamedLock(const CNamedLock&) = delete;
  CNamedLock& operator=(const CNamedLock&) = delete;

  // Takes the lock for applicationName. True when this process now holds
  // it; false when another program does (holderName() says which, empty when
  // it did not publish a readable name) or when the mutex could not be made.
  bool acquire(const std::string& applicationName);

  const std::string& mutexName() const { return mutexName_; }
  bool held() const { return held_; }
  // The name another program published for this lock.
  const std::string& holderName() const { return holderName_; }
  // True when the lock could not be made and nobody seems to hold it.
  bool failed() const { return failed_; }

 private:
  void publishName(const std::string& applicationName);
  void readHolderName();

  std::string mutexName_;
  win::UniqueHandle mutex_;
  win::UniqueHandle nameMemory_;
  win::UniqueView nameView_;
  std::string holderName_;
  bool held_ = false;
  bool failed_ = false;
};

}  // namespace app
