// Where the framework reports an exception that it stopped at the border to
// the system (a window procedure, the message loop). The program sets a
// reporter once at start-up, typically one that writes to its log; without
// one the report goes to the debugger output.
#pragma once

namespace winui {

using ErrorReporter = void (*)(const char* where, const char* what);

void SetErrorReporter(ErrorReporter reporter);
// Calls the reporter; never throws.
void ReportError(const char* where, const char* what) noexcept;

}  // namespace winui
