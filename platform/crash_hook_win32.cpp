#include "platform/crash_hook.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace sys {

namespace {

std::atomic<void (*)()> g_hook{nullptr};
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
// Set by the first crash: a crash inside the hook, or a second thread
// crashing meanwhile, goes straight on to the previous filter.
std::atomic<bool> g_hookRan{false};

LONG WINAPI RunHookThenPreviousFilter(EXCEPTION_POINTERS* exception) {
  if (!g_hookRan.exchange(true)) {
    if (void (*hook)() = g_hook.load()) hook();
  }
  return g_previousFilter ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

bool RunBeforeCrash(void (*hook)()) {
  g_hook = hook;
  static std::once_flag installed;
  std::call_once(installed, [] { g_previousFilter = ::SetUnhandledExceptionFilter(&RunHookThenPreviousFilter); });
  return true;
}

}  // namespace sys
