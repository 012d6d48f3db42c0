// A named Win32 semaphore the main window creates and owns for its whole
// life, and a guard that holds one count of it for a scope.
#pragma once

#include <windows.h>

#include "win32/unique_handle.h"

namespace app {

class CNamedSemaphore {
 public:
  CNamedSemaphore(const wchar_t* name, LONG initialCount, LONG maximumCount)
      : handle_(::CreateSemaphoreW(nullptr, initialCount, maximumCount, name)) {}
  bool valid() const { return handle_.valid(); }
  HANDLE get() const { return handle_.get(); }
  void close() { handle_.reset(); }

 private:
  win::UniqueHandle handle_;
};

// Holds one count from construction to destruction. Without a semaphore
// (creation failed) the guarded work still runs: the semaphore orders the
// program's own threads, it is never a reason to drop a user's action.
class CSemaphoreHold {
 public:
  explicit CSemaphoreHold(const CNamedSemaphore& semaphore, DWORD timeoutMs = INFINITE)
      : handle_(semaphore.get()) {
    held_ = handle_ && ::WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
  }
  ~CSemaphoreHold() {
    if (held_) ::ReleaseSemaphore(handle_, 1, nullptr);
  }
  CSemaphoreHold(const CSemaphoreHold&) = delete;
  CSemaphoreHold& operator=(const CSemaphoreHold&) = delete;
  bool held() const { return held_; }

 private:
  HANDLE handle_;
  bool held_ = false;
};

}  // namespace app
