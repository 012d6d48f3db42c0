#include "treelist/window_hook_win32.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace treelist {
namespace {

struct Chain {
  WNDPROC original = nullptr;
  std::vector<CWindowHook*> hooks;  // newest first
};

// Windows belong to the thread that made them; the controls live on the
// UI thread, so one map serves without a lock.
std::unordered_map<HWND, Chain>& Chains() {
  static std::unordered_map<HWND, Chain> chains;
  return chains;
}

}  // namespace

bool CWindowHook::attach(HWND hwnd, Handler handler) {
  detach();
  if (!hwnd || !handler) return false;
  auto& chains = Chains();
  auto it = chains.find(hwnd);
  if (it == chains.end()) {
    WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!original) return false;
    it = chains.emplace(hwnd, Chain{original, {}}).first;
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  }
  it->second.hooks.insert(it->second.hooks.begin(), this);
  hwnd_ = hwnd;
  handler_ = std::move(handler);
  return true;
}

void CWindowHook::detach() {
  if (!hwnd_) return;
  auto& chains = Chains();
  auto it = chains.find(hwnd_);
  if (it != chains.end()) {
    auto& hooks = it->second.hooks;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
    // The window's own procedure goes back only while nothing else has
    // replaced ours since; otherwise ours stays and passes everything on.
    if (hooks.empty() && ::IsWindow(hwnd_) &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) == Proc) {
      ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.original));
      chains.erase(it);
    }
  }
  hwnd_ = nullptr;
  handler_ = nullptr;
}

LRESULT CWindowHook::next(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  auto& chains = Chains();
  auto it = chains.find(hwnd);
  if (it == chains.end()) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  const auto& hooks = it->second.hooks;
  size_t index = static_cast<size_t>(std::find(hooks.begin(), hooks.end(), this) - hooks.begin());
  return Dispatch(hwnd, index + 1, message, wParam, lParam);
}

LRESULT CWindowHook::Dispatch(HWND hwnd, size_t index, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& chains = Chains();
  auto it = chains.find(hwnd);
  if (it == chains.end()) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (index < it->second.hooks.size()) {
    CWindowHook* hook = it->second.hooks[index];
    // A copy: the handler may detach its own hook.
    Handler handler = hook->handler_;
    return handler(message, wParam, lParam);
  }
  return ::CallWindowProcW(it->second.original, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowHook::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = Dispatch(hwnd, 0, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: every hook on it lets go.
    auto& chains = Chains();
    auto it = chains.find(hwnd);
    if (it != chains.end()) {
      std::vector<CWindowHook*> hooks = it->second.hooks;
      for (CWindowHook* hook : hooks) {
        hook->hwnd_ = nullptr;
        hook->handler_ = nullptr;
      }
      chains.erase(it);
    }
  }
  return result;
}

}  // namespace treelist
