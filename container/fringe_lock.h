// KVXFringeLock: the program's critical-section lock. The device wrapper, the
// transfer broker, the album lock and the tag editor all derive from or hold
// one. The track manager exports the class so that companion modules built
// against it share the same type.
#pragma once

#if defined(_WIN32)
#define KVX_LOCK_API __declspec(dllexport)
#else
#define KVX_LOCK_API
#endif

class KVX_LOCK_API KVXFringeLock {
 public:
  KVXFringeLock();
  virtual ~KVXFringeLock();
  KVXFringeLock(const KVXFringeLock&) = delete;
  KVXFringeLock& operator=(const KVXFringeLock&) = delete;

  // Recursive: the owning thread may lock again, and must unlock as often.
  void lock();
  void unlock();

 private:
  // Room for a CRITICAL_SECTION (Win32) or a recursive pthread mutex (POSIX),
  // so that this header needs no system header.
  alignas(void*) unsigned char m_storage[64];
};

// Holds a KVXFringeLock for one scope.
class KVXFringeLockGuard {
 public:
  explicit KVXFringeLockGuard(KVXFringeLock& l) : m_lock(l) { m_lock.lock(); }
  ~KVXFringeLockGuard() { m_lock.unlock(); }
  KVXFringeLockGuard(const KVXFringeLockGuard&) = delete;
  KVXFringeLockGuard& operator=(const KVXFringeLockGuard&) = delete;

 private:
  KVXFringeLock& m_lock;
};
