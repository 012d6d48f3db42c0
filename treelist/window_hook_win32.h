// Routes a window's messages through handlers of the program before the
// window's own procedure, by replacing the window procedure. Several hooks
// may sit on one window (two lists on one dialog each hook their parent);
// the newest runs first. Unlike SetWindowSubclass, which looks its chain up
// in a window property (a round trip to the Wine server for every message),
// the chain here lives in the process.
#pragma once

#include <windows.h>

#include <functional>

namespace treelist {

class CWindowHook {
 public:
  // Answers a message; calls next() for the rest of the chain (the older
  // hooks, then the window's own procedure) when it wants their answer.
  using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  CWindowHook() = default;
  ~CWindowHook() { detach(); }
  CWindowHook(const CWindowHook&) = delete;
  CWindowHook& operator=(const CWindowHook&) = delete;

  bool attach(HWND hwnd, Handler handler);
  // Takes the hook out of the chain; the window keeps working.
  void detach();
  bool attached() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }

  // The rest of the chain after this hook.
  LRESULT next(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Runs the chain of hwnd from position index on.
  static LRESULT Dispatch(HWND hwnd, size_t index, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  Handler handler_;
};

}  // namespace treelist
