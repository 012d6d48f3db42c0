// Owner of a FindFirstFile search handle (closed with FindClose).
#pragma once

#include <windows.h>

#include <utility>

namespace win {

class UniqueFind {
 public:
  UniqueFind() = default;
  explicit UniqueFind(HANDLE h) : h_(h) {}
  ~UniqueFind() { reset(); }
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;
  UniqueFind(UniqueFind&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
  UniqueFind& operator=(UniqueFind&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, INVALID_HANDLE_VALUE));
    return *this;
  }

  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  void reset(HANDLE h = INVALID_HANDLE_VALUE) {
    if (valid()) ::FindClose(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

}  // namespace win
