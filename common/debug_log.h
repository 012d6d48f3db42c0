// The one formatted-logging function every layer writes its notes through.
// Only the declaration lives here, so that the device, MP3 and list layers
// can log without reaching up into the application shell, which holds the
// log itself (app/debug_log.h: starting it, its file, its writer).
#pragma once

#include "common/hresult.h"

// printf-style note. Every line break in the note starts a new time-stamped
// line. The note is formatted and stamped at once and written by the log's
// writer shortly after; 0 when it was taken, E_FAIL when the log is not
// started (the note is dropped).
HRESULT DebugLog(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
