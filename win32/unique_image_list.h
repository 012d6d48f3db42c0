// Owner of an image list the program created: ImageList_Destroy on
// destruction. Controls given it must not destroy it themselves (list views
// need LVS_SHAREIMAGELISTS).
#pragma once

#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <utility>

namespace win {

class UniqueImageList {
 public:
  UniqueImageList() = default;
  explicit UniqueImageList(HIMAGELIST list) : list_(list) {}
  ~UniqueImageList() { reset(); }
  UniqueImageList(const UniqueImageList&) = delete;
  UniqueImageList& operator=(const UniqueImageList&) = delete;

  HIMAGELIST get() const { return list_; }
  explicit operator bool() const { return list_ != nullptr; }
  void reset(HIMAGELIST list = nullptr) {
    if (list_) ::ImageList_Destroy(list_);
    list_ = list;
  }

 private:
  HIMAGELIST list_ = nullptr;
};

}  // namespace win
