#include "stand-ins/device_access/standin_log.h"

#include <cstdio>
#include <ctime>

#include "platform/local_time.h"

namespace standin {

StandInLog::~StandInLog() {
  if (file_) std::fclose(file_);
}

void StandInLog::setPath(const sys::Path& path) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
  path_ = path;
}

void StandInLog::line(const std::string& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (path_.empty()) return;
  if (!file_) file_ = sys::OpenStdioFile(path_, "ab");
  if (!file_) return;
  const std::tm local = sys::LocalTime(std::time(nullptr));
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::fprintf(file_, "%s %u:%u %s\n", stamp, sys::ProcessId(), sys::ThreadId(), text.c_str());
  std::fflush(file_);
}

}  // namespace standin
