#include "winui/error_report.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace winui {

namespace {
std::atomic<ErrorReporter> g_reporter{nullptr};
}  // namespace

void SetErrorReporter(ErrorReporter reporter) { g_reporter.store(reporter); }

void ReportError(const char* where, const char* what) noexcept {
  if (!where) where = "";
  if (!what) what = "";
  try {
    if (ErrorReporter r = g_reporter.load()) {
      r(where, what);
      return;
    }
    std::string text = std::string(where) + ": " + what + "\n";
    ::OutputDebugStringA(text.c_str());
  } catch (...) {
    // Reporting must not become the next failure.
  }
}

}  // namespace winui
