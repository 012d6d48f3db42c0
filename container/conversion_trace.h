// The conversion trace: a printf-style side log for the container writer's
// parsing failures. It writes only when a trace file has been configured;
// with the default (empty) names every call returns at once. The environment
// variable PELLMARK_CONVERSION_TRACE can name the file at start.
#pragma once

#include <filesystem>

namespace container {

// Appends one line "YYYY/MM/DD hh:mm:ss [program] pid:tid message\n".
void ConversionTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Names the trace file and its backup; empty paths switch the trace off.
void ConfigureConversionTrace(const std::filesystem::path& traceFile,
                              const std::filesystem::path& backupFile);

}  // namespace container
