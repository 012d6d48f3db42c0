// Owner of an open registry key.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

class UniqueRegKey {
 public:
  UniqueRegKey() = default;
  explicit UniqueRegKey(HKEY k) : k_(k) {}
  ~UniqueRegKey() { reset(); }
  UniqueRegKey(const UniqueRegKey&) = delete;
  UniqueRegKey& operator=(const UniqueRegKey&) = delete;
  UniqueRegKey(UniqueRegKey&& o) noexcept : k_(std::exchange(o.k_, nullptr)) {}
  UniqueRegKey& operator=(UniqueRegKey&& o) noexcept {
    if (this != &o) reset(std::exchange(o.k_, nullptr));
    return *this;
  }

  HKEY get() const { return k_; }
  explicit operator bool() const { return k_ != nullptr; }
  HKEY* put() {
    reset();
    return &k_;
  }
  void reset(HKEY k = nullptr) {
    if (k_) ::RegCloseKey(k_);
    k_ = k;
  }

 private:
  HKEY k_ = nullptr;
};

}  // namespace win
