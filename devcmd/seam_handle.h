// Owns a handle that came from a DeviceSystem and closes it through the
// same system, so that a simulated system sees every handle it gave out
// come back.
#pragma once

#include <windows.h>

#include <utility>

#include "devcmd/device_system.h"

namespace devcmd {

class SeamHandle {
 public:
  SeamHandle() = default;
  SeamHandle(DeviceSystem& system, HANDLE handle) : m_pSystem(&system), m_hHandle(handle) {}
  ~SeamHandle() { reset(); }
  SeamHandle(const SeamHandle&) = delete;
  SeamHandle& operator=(const SeamHandle&) = delete;
  SeamHandle(SeamHandle&& o) noexcept
      : m_pSystem(o.m_pSystem), m_hHandle(std::exchange(o.m_hHandle, INVALID_HANDLE_VALUE)) {}
  SeamHandle& operator=(SeamHandle&& o) noexcept {
    if (this != &o) {
      reset();
      m_pSystem = o.m_pSystem;
      m_hHandle = std::exchange(o.m_hHandle, INVALID_HANDLE_VALUE);
    }
    return *this;
  }

  HANDLE get() const { return m_hHandle; }
  bool valid() const { return m_hHandle != INVALID_HANDLE_VALUE && m_hHandle != nullptr; }
  explicit operator bool() const { return valid(); }
  void reset() {
    if (valid() && m_pSystem) m_pSystem->CloseHandle(m_hHandle);
    m_hHandle = INVALID_HANDLE_VALUE;
  }

 private:
  DeviceSystem* m_pSystem = nullptr;
  HANDLE m_hHandle = INVALID_HANDLE_VALUE;
};

}  // namespace devcmd
