// Owns a window the program created itself (a child edit, a tooltip):
// destroys it unless it is already gone with its parent.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

class UniqueWindow {
 public:
  UniqueWindow() = default;
  explicit UniqueWindow(HWND h) : h_(h) {}
  ~UniqueWindow() { reset(); }
  UniqueWindow(const UniqueWindow&) = delete;
  UniqueWindow& operator=(const UniqueWindow&) = delete;
  UniqueWindow(UniqueWindow&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueWindow& operator=(UniqueWindow&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }

  HWND get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  HWND release() { return std::exchange(h_, nullptr); }
  void reset(HWND h = nullptr) {
    if (h_ && ::IsWindow(h_)) ::DestroyWindow(h_);
    h_ = h;
  }

 private:
  HWND h_ = nullptr;
};

}  // namespace win
