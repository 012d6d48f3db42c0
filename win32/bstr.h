// Owner of one BSTR: SysFreeString on destruction.
#pragma once

#include <oleauto.h>
#include <windows.h>

#include <string>
#include <utility>

namespace win {

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR b) : b_(b) {}
  // A copy of text; empty() afterwards tells whether the allocation failed.
  static UniqueBstr FromText(const wchar_t* text, size_t length) {
    return UniqueBstr(::SysAllocStringLen(text, static_cast<UINT>(length)));
  }
  static UniqueBstr FromText(const std::u16string& text) {
    return FromText(reinterpret_cast<const wchar_t*>(text.data()), text.size());
  }
  ~UniqueBstr() { reset(); }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  UniqueBstr(UniqueBstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& o) noexcept {
    if (this != &o) reset(std::exchange(o.b_, nullptr));
    return *this;
  }

  BSTR get() const { return b_; }
  bool empty() const { return b_ == nullptr || ::SysStringLen(b_) == 0; }
  size_t length() const { return b_ ? ::SysStringLen(b_) : 0; }
  std::u16string text() const {
    return std::u16string(reinterpret_cast<const char16_t*>(b_ ? b_ : L""), length());
  }
  BSTR* put() {
    reset();
    return &b_;
  }
  BSTR release() { return std::exchange(b_, nullptr); }
  void reset(BSTR b = nullptr) {
    if (b_) ::SysFreeString(b_);
    b_ = b;
  }

 private:
  BSTR b_ = nullptr;
};

}  // namespace win
