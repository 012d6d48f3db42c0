// Owners for Win32 handles, so that feature code never closes one by hand.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// Owns a kernel handle; Invalid is the "no handle" value of the API that
// produced it (INVALID_HANDLE_VALUE for CreateFile, null for the rest).
template <HANDLE (*Invalid)()>
class BasicHandle {
 public:
  BasicHandle() = default;
  explicit BasicHandle(HANDLE h) : h_(h) {}
  ~BasicHandle() { reset(); }
  BasicHandle(const BasicHandle&) = delete;
  BasicHandle& operator=(const BasicHandle&) = delete;
  BasicHandle(BasicHandle&& o) noexcept : h_(o.release()) {}
  BasicHandle& operator=(BasicHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }

  HANDLE get() const { return h_; }
  bool valid() const { return h_ != Invalid() && h_ != nullptr; }
  explicit operator bool() const { return valid(); }
  HANDLE release() { return std::exchange(h_, Invalid()); }
  void reset(HANDLE h = Invalid()) {
    if (valid()) ::CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = Invalid();
};

inline HANDLE NullHandleValue() { return nullptr; }
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

using UniqueHandle = BasicHandle<NullHandleValue>;   // events, mutexes, mappings, threads
using UniqueFile = BasicHandle<InvalidHandleValue>;  // CreateFile results

// Owns a mapped view.
class UniqueView {
 public:
  UniqueView() = default;
  explicit UniqueView(const void* p) : p_(p) {}
  ~UniqueView() { reset(); }
  UniqueView(const UniqueView&) = delete;
  UniqueView& operator=(const UniqueView&) = delete;
  UniqueView(UniqueView&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  UniqueView& operator=(UniqueView&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  const void* get() const { return p_; }
  void reset() {
    if (p_) ::UnmapViewOfFile(p_);
    p_ = nullptr;
  }

 private:
  const void* p_ = nullptr;
};

}  // namespace win
