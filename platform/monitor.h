// A lock with a condition to wait on, for two threads handing work to each
// other. On Windows it is a slim reader/writer lock with a condition
// variable: under Wine both wait and wake through the kernel's futexes,
// while the C++ library's mutex and condition (winpthreads) sleep on Win32
// events and semaphores, a round trip to the Wine server for each wake.
#pragma once

#include <memory>

namespace sys {

class Monitor {
 public:
  Monitor();
  ~Monitor();
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  void lock();
  void unlock();
  // With the lock held: lets it go until woken (or spuriously), then takes
  // it again. Callers wait in a loop on their own condition.
  void wait();
  void wakeAll();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Holds a Monitor's lock for one scope; it can be let go for a while
// (unlocked) and waits through it.
class MonitorLock {
 public:
  explicit MonitorLock(Monitor& monitor) : monitor_(monitor) { monitor_.lock(); }
  ~MonitorLock() {
    if (held_) monitor_.unlock();
  }
  MonitorLock(const MonitorLock&) = delete;
  MonitorLock& operator=(const MonitorLock&) = delete;

  template <class Ready>
  void waitUntil(Ready ready) {
    while (!ready()) monitor_.wait();
  }
  void unlock() {
    monitor_.unlock();
    held_ = false;
  }
  void lock() {
    monitor_.lock();
    held_ = true;
  }

 private:
  Monitor& monitor_;
  bool held_ = true;
};

}  // namespace sys
