// Scope owners for OLE and COM on the calling thread: each uninitialises in
// its destructor what its constructor initialised, and only that.
#pragma once

#include <objbase.h>
#include <ole2.h>

namespace winui {

class OleSession {
 public:
  OleSession() : result_(::OleInitialize(nullptr)) {}
  ~OleSession() {
    if (SUCCEEDED(result_)) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

class ComSession {
 public:
  ComSession() : result_(::CoInitialize(nullptr)) {}
  ~ComSession() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

}  // namespace winui
