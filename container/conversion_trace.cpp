#include "container/conversion_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "platform/local_time.h"
#include "platform/system.h"

namespace container {

namespace {

struct TraceConfig {
  std::mutex mutex;  // guards the names only; writes take no lock
  sys::Path traceFile;
  sys::Path backupFile;
  uint64_t sizeLimit = 0;
};

// The trace is off unless configured: by ConfigureConversionTrace, or by the
// environment variable PELLMARK_CONVERSION_TRACE naming the trace file (its
// backup is the same name with ".bak").
TraceConfig& Config() {
  static TraceConfig config;
  static const bool fromEnvironment = [] {
    if (const char* name = std::getenv("PELLMARK_CONVERSION_TRACE"); name && *name) {
      config.traceFile = sys::PathFromAnsi(name);
      config.backupFile = config.traceFile;
      config.backupFile.replace_extension(".bak");
    }
    return true;
  }();
  (void)fromEnvironment;
  return config;
}

}  // namespace

void ConfigureConversionTrace(const std::filesystem::path& traceFile,
                              const std::filesystem::path& backupFile) {
  TraceConfig& c = Config();
  std::lock_guard<std::mutex> guard(c.mutex);
  c.traceFile = traceFile;
  c.backupFile = backupFile;
}

void ConversionTrace(const char* format, ...) {
  TraceConfig& c = Config();
  sys::Path traceFile, backupFile;
  {
    std::lock_guard<std::mutex> guard(c.mutex);
    if (c.sizeLimit == 0) c.sizeLimit = 1024000;
    traceFile = c.traceFile;
    backupFile = c.backupFile;
  }
  // Without a configured name the trace is off.
  if (traceFile.empty()) return;

  uint64_t size = 0;
  if (sys::GetFileSize(traceFile, size) && size > c.sizeLimit && !backupFile.empty()) {
    sys::DeleteFileAt(backupFile);
    std::error_code ec;
    std::filesystem::rename(traceFile, backupFile, ec);
  }

  std::FILE* f = sys::OpenStdioFile(traceFile, "a");
  if (!f) return;
  const std::tm local = sys::LocalTime(std::time(nullptr));
  std::fprintf(f, "%04d/%02d/%02d %02d:%02d:%02d [%s] %08x:%08x ", local.tm_year + 1900, local.tm_mon + 1,
               local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
               sys::AnsiFromPath(sys::ProgramPath()).c_str(), sys::ProcessId(), sys::ThreadId());
  va_list args;
  va_start(args, format);
  std::vfprintf(f, format, args);
  va_end(args);
  std::fputc('\n', f);
  std::fclose(f);
}

}  // namespace container
