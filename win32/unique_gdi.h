// Owners of GDI objects and icons loaded or created by the program (shared
// resources loaded with LR_SHARED need no owner).
#pragma once

#include <windows.h>

#include <utility>

namespace win {

template <class H, BOOL(WINAPI* Destroy)(H)>
class BasicGdiHandle {
 public:
  BasicGdiHandle() = default;
  explicit BasicGdiHandle(H h) : h_(h) {}
  ~BasicGdiHandle() { reset(); }
  BasicGdiHandle(const BasicGdiHandle&) = delete;
  BasicGdiHandle& operator=(const BasicGdiHandle&) = delete;
  BasicGdiHandle(BasicGdiHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  BasicGdiHandle& operator=(BasicGdiHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(H h = nullptr) {
    if (h_) Destroy(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

// DeleteObject for one kind of GDI object, so each owner holds its own type.
template <class H>
BOOL WINAPI DeleteGdiObject(H h) {
  return ::DeleteObject(h);
}
inline BOOL WINAPI DeleteMemoryDc(HDC h) { return ::DeleteDC(h); }

using UniqueBitmap = BasicGdiHandle<HBITMAP, DeleteGdiObject<HBITMAP>>;
using UniqueFont = BasicGdiHandle<HFONT, DeleteGdiObject<HFONT>>;
using UniqueIcon = BasicGdiHandle<HICON, ::DestroyIcon>;
using UniqueMemoryDc = BasicGdiHandle<HDC, DeleteMemoryDc>;

// Selects an object into a device context for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_) ::SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win
