// The simulated player's own log: one time-stamped line per event worth
// knowing afterwards (a refused call, an injected fault, a committed or
// discarded track), so that tests and people can see what the library saw.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/system.h"

namespace standin {

class StandInLog {
 public:
  StandInLog() = default;
  ~StandInLog();
  StandInLog(const StandInLog&) = delete;
  StandInLog& operator=(const StandInLog&) = delete;

  void setPath(const sys::Path& path);
  // Appends "YYYY-MM-DD hh:mm:ss pid:tid text" and flushes it, so that
  // others can read the log while the player runs. Never fails its caller.
  void line(const std::string& text);

 private:
  std::mutex mutex_;
  sys::Path path_;
  // Kept open: a line per committed track would otherwise cost an open and
  // a close each.
  std::FILE* file_ = nullptr;
};

}  // namespace standin
