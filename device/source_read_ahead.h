// Opens the sources of the next transfers while the current one is written.
// Opening a file and finding its audio takes several trips to the file
// system (under Wine, each open and close is a round trip to the Wine
// server); on a thread of their own they overlap the device's work instead
// of adding to every track.
//
// Expect, Take and Forget come from one thread at a time (the broker's
// lock); the reader's own thread only opens. At most kMaxHeld sources are
// expected or held at once, so a drop of thousands of files holds no more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <thread>
#include <vector>

#include "device/source_opening.h"
#include "platform/monitor.h"

namespace device {

class CSourceReadAhead {
 public:
  static constexpr size_t kMaxHeld = 2;

  CSourceReadAhead() = default;
  // Stops the thread; every source still held is let go.
  ~CSourceReadAhead();
  CSourceReadAhead(const CSourceReadAhead&) = delete;
  CSourceReadAhead& operator=(const CSourceReadAhead&) = delete;

  // A coming transfer will read source: it is opened from now on. With
  // kMaxHeld already expected, the oldest, never asked for, is let go.
  void Expect(const sys::Path& source);
  // The opening of source when it was expected, waiting for it to end;
  // sources expected before it are let go. False, with nothing changed,
  // when source was not expected: the caller opens it itself.
  bool Take(const sys::Path& source, OpenedSource& out);
  // Lets every expected and held source go (a drop ended or stopped).
  void Forget();
  // A short source's buffer, done with: the next opening reads into it.
  // Sources are read on this thread and let go on the caller's; reusing
  // their buffers keeps the two threads from fragmenting the heap between
  // them, file after file.
  void Recycle(std::vector<uint8_t> buffer);
  // A buffer to read a source into: a recycled one, else an empty one.
  std::vector<uint8_t> Buffer();

 private:
  struct Entry {
    uint64_t id = 0;
    sys::Path path;
    bool done = false;  // opening holds the result
    OpenedSource opening;
  };

  void run();
  Entry* find(uint64_t id);
  std::vector<uint8_t> takeSpare();  // with the lock held

  sys::Monitor monitor_;
  std::deque<Entry> entries_;  // in the order they will be asked for
  std::vector<std::vector<uint8_t>> spare_;
  uint64_t nextId_ = 1;
  bool stopping_ = false;
  std::thread thread_;  // started by the first Expect
};

}  // namespace device
