#include "winui/message_text.h"

#include <atomic>
#include <memory>
#include <utility>

namespace winui {

namespace {

std::atomic<HMODULE> g_module{nullptr};

struct LocalFreeDeleter {
  void operator()(wchar_t* p) const { ::LocalFree(p); }
};

}  // namespace

void SetMessageModule(HMODULE module) { g_module.store(module); }

HMODULE MessageModule() { return g_module.load(); }

std::wstring MessageText(DWORD id) {
  HMODULE module = g_module.load();
  if (!module) return std::wstring();
  wchar_t* raw = nullptr;
  // IGNORE_INSERTS: a text with a '%' must not make the system read
  // arguments that were never passed.
  DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, module,
      id, kMessageLanguage, reinterpret_cast<LPWSTR>(&raw), 0, nullptr);
  std::unique_ptr<wchar_t, LocalFreeDeleter> owner(raw);
  if (length == 0 || !raw) return std::wstring();
  std::wstring text(raw, length);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return text;
}

namespace {

// Puts the next window this thread activates (the message box) above all
// others. MB_TOPMOST alone is not honoured by every system the program runs
// on, so the box is also made top-most as it comes up.
thread_local HHOOK t_topMostHook = nullptr;

LRESULT CALLBACK TopMostOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    ::SetWindowPos(reinterpret_cast<HWND>(wParam), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    HHOOK hook = t_topMostHook;
    t_topMostHook = nullptr;
    if (hook) {
      LRESULT result = ::CallNextHookEx(hook, code, wParam, lParam);
      ::UnhookWindowsHookEx(hook);
      return result;
    }
  }
  return ::CallNextHookEx(t_topMostHook, code, wParam, lParam);
}

class TopMostScope {
 public:
  explicit TopMostScope(bool wanted) {
    if (wanted && !t_topMostHook)
      t_topMostHook = ::SetWindowsHookExW(WH_CBT, &TopMostOnActivate, nullptr, ::GetCurrentThreadId());
  }
  ~TopMostScope() {
    // Not used up when the box never came up.
    if (t_topMostHook) ::UnhookWindowsHookEx(std::exchange(t_topMostHook, nullptr));
  }
  TopMostScope(const TopMostScope&) = delete;
  TopMostScope& operator=(const TopMostScope&) = delete;
};

}  // namespace

int ShowMessageText(HWND owner, const std::wstring& text, UINT type) {
  TopMostScope topMost((type & MB_TOPMOST) != 0);
  return ::MessageBoxW(owner, text.c_str(), MessageText(kCaptionMessageId).c_str(), type);
}

int ShowMessage(HWND owner, DWORD id, UINT type) { return ShowMessageText(owner, MessageText(id), type); }

}  // namespace winui
