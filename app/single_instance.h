// The single-instance rule: the first process creates a named event and keeps
// it for its whole life; a later process finds it existing and stops.
#pragma once

#include <string>

#include "win32/unique_handle.h"

namespace app {

class CSingleInstance {
 public:
  explicit CSingleInstance(std::string eventName);
  // Creates the event (auto-reset, signalled). True when this process is
  // the first; false when it existed or could not be made, and then no
  // handle is kept.
  bool acquire();
  bool owned() const { return static_cast<bool>(event_); }
  const std::string& eventName() const { return eventName_; }

 private:
  std::string eventName_;
  win::UniqueHandle event_;
};

}  // namespace app
