#include <condition_variable>
#include <mutex>

#include "platform/monitor.h"

namespace sys {

struct Monitor::Impl {
  std::mutex mutex;
  std::condition_variable condition;
};

Monitor::Monitor() : impl_(std::make_unique<Impl>()) {}
Monitor::~Monitor() = default;

void Monitor::lock() { impl_->mutex.lock(); }
void Monitor::unlock() { impl_->mutex.unlock(); }

void Monitor::wait() {
  // The caller holds the mutex; the lock object only borrows it.
  std::unique_lock<std::mutex> held(impl_->mutex, std::adopt_lock);
  impl_->condition.wait(held);
  held.release();
}

void Monitor::wakeAll() { impl_->condition.notify_all(); }

}  // namespace sys
