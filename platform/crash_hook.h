// A last word before a crash: a function run when an exception that nobody
// handles is about to end the process, so that work held in memory (the
// log's pending notes) can still reach its file.
#pragma once

namespace sys {

// Runs hook before the process ends on an unhandled exception. The handler
// that was installed before (the C runtime's, a debugger's) still runs
// afterwards, with the same verdict as without the hook. One hook per
// process; a later call replaces it. False where the system offers no such
// moment (POSIX, whose fatal signals the sanitizers own in the test build).
bool RunBeforeCrash(void (*hook)());

}  // namespace sys
