// A second program that shares the log: starts it with the root, lock name
// and program folder given on the command line, writes one note and prints
// StartLog's result. The log tests run it beside themselves.
#include <cstdio>
#include <string>

#include "app/debug_log.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: log_writer ROOT LOCK FOLDER NOTE\n");
    return 2;
  }
  debuglog::Configure(sys::PathFromAnsi(argv[1]), argv[2], sys::PathFromAnsi(argv[3]));
  HRESULT started = StartLog();
  DebugLog("\n%s", argv[4]);
  std::printf("%ld\n", static_cast<long>(started));
  return started == 0 ? 0 : 1;
}
