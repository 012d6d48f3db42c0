#include <windows.h>

#include "platform/monitor.h"

namespace sys {

struct Monitor::Impl {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE condition = CONDITION_VARIABLE_INIT;
};

Monitor::Monitor() : impl_(std::make_unique<Impl>()) {}
Monitor::~Monitor() = default;

void Monitor::lock() { ::AcquireSRWLockExclusive(&impl_->lock); }
void Monitor::unlock() { ::ReleaseSRWLockExclusive(&impl_->lock); }
void Monitor::wait() { ::SleepConditionVariableSRW(&impl_->condition, &impl_->lock, INFINITE, 0); }
void Monitor::wakeAll() { ::WakeAllConditionVariable(&impl_->condition); }

}  // namespace sys
