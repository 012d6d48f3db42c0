// What the simulated player noticed about its callers, shared between the
// player and the task-memory watcher (which may outlive a player): the
// player's log, and counters that tests read to assert that the wrapper
// left the device clean.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "stand-ins/device_access/standin_log.h"

namespace standin {

struct PlayerDiagnostics {
  StandInLog log;
  std::atomic<uint32_t> callerErrors{0};
  std::atomic<uint32_t> injectedFaults{0};
  // Task-memory blocks handed out and not yet freed.
  std::atomic<int32_t> outstandingBlocks{0};

  // A call the library's rules forbid: one log line and one count.
  void callerError(const std::string& what) {
    callerErrors.fetch_add(1);
    log.line("caller error: " + what);
  }
};

}  // namespace standin
