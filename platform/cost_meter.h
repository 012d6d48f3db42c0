// The cost meter: where the time of a drop goes, summed per area, for the
// benchmarks. It is off unless the environment variable PELLMARK_COSTS
// names a file; off, a meter scope is one relaxed load of a flag. On, every
// module that started it appends one line per area to that file when it
// reports ("<module> <area> <seconds> <count>").
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace costs {

enum class Area : uint8_t {
  kDropThread,   // the drop thread from start to end
  kTransfer,     // CIPACWrap::Transfer, each track
  kTransaction,  // StartTransaction / EndTransaction / album creation around it
  kTagWrite,     // the track's text tag written into its file
  kChunkWrites,  // WriteExportData (the device's side)
  kDeviceCalls,  // every other device-library call (the device's side)
  kIndexSaves,   // the simulated player's index written
  kUiUpdates,    // the main window's handling of posted progress messages
  kWaits,        // pauses between batches and device polls
  kSourceReads,  // the source file located, read and walked for the transfer
  kLogNotes,     // diagnostic notes formatted and queued by their callers
  kFileChecks,   // dropped files checked and their tags read, in the collection
  kCount
};

// The area's name in the report.
const char* AreaName(Area area);

namespace detail {
extern std::atomic<bool> g_on;
void Add(Area area, std::chrono::steady_clock::duration spent);
}  // namespace detail

inline bool On() { return detail::g_on.load(std::memory_order_relaxed); }

// Starts the meter when PELLMARK_COSTS is set; module names this module's
// lines in the report.
void StartFromEnvironment(const char* module);
// Appends this module's sums to the report file (nothing when off).
void Report();

// Adds the time from its construction to its end to one area.
class Scope {
 public:
  explicit Scope(Area area) : area_(area), on_(On()) {
    if (on_) start_ = std::chrono::steady_clock::now();
  }
  ~Scope() {
    if (on_) detail::Add(area_, std::chrono::steady_clock::now() - start_);
  }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

 private:
  Area area_;
  bool on_;
  std::chrono::steady_clock::time_point start_{};
};

}  // namespace costs
