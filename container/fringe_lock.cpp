#include "container/fringe_lock.h"

#if defined(_WIN32)
#include <windows.h>
using NativeLock = CRITICAL_SECTION;
#else
#include <pthread.h>
using NativeLock = pthread_mutex_t;
#endif

#include <new>

namespace {
NativeLock* Native(unsigned char* storage) { return std::launder(reinterpret_cast<NativeLock*>(storage)); }
}  // namespace

static_assert(sizeof(NativeLock) <= 64, "lock storage too small");

KVXFringeLock::KVXFringeLock() {
  NativeLock* l = new (m_storage) NativeLock;
#if defined(_WIN32)
  ::InitializeCriticalSection(l);
#else
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(l, &attr);
  pthread_mutexattr_destroy(&attr);
#endif
}

KVXFringeLock::~KVXFringeLock() {
#if defined(_WIN32)
  ::DeleteCriticalSection(Native(m_storage));
#else
  pthread_mutex_destroy(Native(m_storage));
#endif
}

void KVXFringeLock::lock() {
#if defined(_WIN32)
  ::EnterCriticalSection(Native(m_storage));
#else
  pthread_mutex_lock(Native(m_storage));
#endif
}

void KVXFringeLock::unlock() {
#if defined(_WIN32)
  ::LeaveCriticalSection(Native(m_storage));
#else
  pthread_mutex_unlock(Native(m_storage));
#endif
}
