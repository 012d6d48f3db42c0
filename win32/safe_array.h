// Owner of one SAFEARRAY: SafeArrayDestroy on destruction.
#pragma once

#include <oleauto.h>
#include <windows.h>

#include <utility>

namespace win {

class UniqueSafeArray {
 public:
  UniqueSafeArray() = default;
  explicit UniqueSafeArray(SAFEARRAY* a) : a_(a) {}
  ~UniqueSafeArray() { reset(); }
  UniqueSafeArray(const UniqueSafeArray&) = delete;
  UniqueSafeArray& operator=(const UniqueSafeArray&) = delete;
  UniqueSafeArray(UniqueSafeArray&& o) noexcept : a_(std::exchange(o.a_, nullptr)) {}
  UniqueSafeArray& operator=(UniqueSafeArray&& o) noexcept {
    if (this != &o) reset(std::exchange(o.a_, nullptr));
    return *this;
  }

  SAFEARRAY* get() const { return a_; }
  explicit operator bool() const { return a_ != nullptr; }
  SAFEARRAY* release() { return std::exchange(a_, nullptr); }
  void reset(SAFEARRAY* a = nullptr) {
    if (a_) ::SafeArrayDestroy(a_);
    a_ = a;
  }

 private:
  SAFEARRAY* a_ = nullptr;
};

// Holds the data of a SAFEARRAY accessed for one scope.
class SafeArrayAccess {
 public:
  explicit SafeArrayAccess(SAFEARRAY* a) : a_(a) {
    if (a_ && FAILED(::SafeArrayAccessData(a_, &data_))) {
      a_ = nullptr;
      data_ = nullptr;
    }
  }
  ~SafeArrayAccess() {
    if (a_) ::SafeArrayUnaccessData(a_);
  }
  SafeArrayAccess(const SafeArrayAccess&) = delete;
  SafeArrayAccess& operator=(const SafeArrayAccess&) = delete;
  void* data() const { return data_; }

 private:
  SAFEARRAY* a_;
  void* data_ = nullptr;
};

}  // namespace win
