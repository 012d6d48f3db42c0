// Hosts the system's web browser control ({8856F961-340A-11D0-A96B-
// 00C04FD705A2}) as an in-place active child of a window: the smallest OLE
// container that control needs (client site, in-place site and frame), with
// navigation through its automation interface.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <string>

#include "win32/com_ptr.h"

namespace winui {

class BrowserSite;

class CBrowserHost {
 public:
  CBrowserHost();
  ~CBrowserHost();
  CBrowserHost(const CBrowserHost&) = delete;
  CBrowserHost& operator=(const CBrowserHost&) = delete;

  // Creates the control inside parent at rect (parent's client coordinates)
  // and activates it in place. COM must be initialised on this thread. A
  // failure leaves nothing behind.
  HRESULT create(HWND parent, const RECT& rect);
  bool created() const { return static_cast<bool>(object_); }

  // Navigate (dispatch id 104) with the address alone.
  HRESULT navigate(const std::wstring& address);
  // True when the control holds a document. Without an HTML engine the
  // control navigates without error but never gets one.
  bool hasDocument() const;

  void setRect(const RECT& rect);
  void show(bool visible);
  // The control's own window, once it is active; else null.
  HWND window() const;

  // Deactivates and releases the control; also done by the destructor.
  void close();

 private:
  win::ComPtr<BrowserSite> site_;
  win::ComPtr<IOleObject> object_;
  win::ComPtr<IDispatch> automation_;
};

}  // namespace winui
