// The local calendar time of a moment, for time stamps in log lines. The C
// library's reentrant conversion has a different name on each system.
#pragma once

#include <ctime>

namespace sys {

inline std::tm LocalTime(std::time_t moment) {
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &moment);
#else
  localtime_r(&moment, &local);
#endif
  return local;
}

}  // namespace sys
