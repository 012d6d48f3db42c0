// A second program that shares the log: starts it with the root, lock name
// and program folder given on the command line, writes its notes and prints
// StartLog's result. The log tests run it beside themselves.
//
//   log_writer ROOT LOCK FOLDER NOTE            one note "\nNOTE"
//   log_writer ROOT LOCK FOLDER NOTE COUNT      COUNT two-line notes (TwoLineNote)
//   log_writer ROOT LOCK FOLDER NOTE COUNT crash
//       the same, then an unhandled exception; a filter installed before
//       the log's prints "earlier filter ran"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "app/debug_log.h"
#include "tests/app/log_writer_notes.h"

#if defined(_WIN32)
namespace {

LONG WINAPI EarlierFilter(EXCEPTION_POINTERS*) {
  std::printf("earlier filter ran\n");
  std::fflush(stdout);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace
#endif

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: log_writer ROOT LOCK FOLDER NOTE [COUNT [crash]]\n");
    return 2;
  }
  [[maybe_unused]] const bool crash = argc > 6 && !std::strcmp(argv[6], "crash");
#if defined(_WIN32)
  if (crash) {
    // No debugger is started for the crash: the process just ends.
    ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(&EarlierFilter);
  }
#endif
  debuglog::Configure(sys::PathFromAnsi(argv[1]), argv[2], sys::PathFromAnsi(argv[3]));
  HRESULT started = StartLog();
  std::printf("%ld\n", static_cast<long>(started));
  std::fflush(stdout);
  if (argc < 6) {
    DebugLog("\n%s", argv[4]);
  } else {
    const int count = std::atoi(argv[5]);
    for (int i = 0; i < count; ++i) DebugLog("%s", logtest::TwoLineNote(argv[4], i).c_str());
  }
#if defined(_WIN32)
  if (crash) ::RaiseException(0xE0000042, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#endif
  return started == 0 ? 0 : 1;
}
