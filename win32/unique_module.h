// Owner of one loaded module: FreeLibrary on destruction.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

class UniqueModule {
 public:
  UniqueModule() = default;
  explicit UniqueModule(HMODULE m) : m_(m) {}
  ~UniqueModule() { reset(); }
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  UniqueModule(UniqueModule&& o) noexcept : m_(std::exchange(o.m_, nullptr)) {}
  UniqueModule& operator=(UniqueModule&& o) noexcept {
    if (this != &o) reset(std::exchange(o.m_, nullptr));
    return *this;
  }

  HMODULE get() const { return m_; }
  explicit operator bool() const { return m_ != nullptr; }
  void reset(HMODULE m = nullptr) {
    if (m_) ::FreeLibrary(m_);
    m_ = m;
  }

 private:
  HMODULE m_ = nullptr;
};

}  // namespace win
