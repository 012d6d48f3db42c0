// Notes on their way to the log file. Callers add a finished note and go on;
// one writer thread hands everything pending to the sink as one batch, so a
// burst of notes costs the file a single open. Before the thread starts and
// after it ends, each caller hands its own note over at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace debuglog {

class NoteQueue {
 public:
  // Writes one batch, in order. Called by one thread at a time.
  using Sink = std::function<void(std::vector<std::string>& batch)>;

  // How long the writer lets a burst gather after its first note: notes
  // reach the sink within this time plus the time of writing one batch.
  static constexpr std::chrono::milliseconds kGatherTime{40};

  explicit NoteQueue(Sink sink);
  ~NoteQueue();
  NoteQueue(const NoteQueue&) = delete;
  NoteQueue& operator=(const NoteQueue&) = delete;

  void add(std::string note);

  // Starts the writer thread (once). Without a thread (it could not be
  // made), notes keep being written by their callers.
  void start();
  // Writes everything pending, ends the writer thread and waits for it.
  void stop();
  // Writes everything added before the call, in the calling thread, after
  // any batch the writer is busy with.
  void flush();
  // flush() that gives up (false) when the queue stays taken for longer than
  // limit: after a crash, the thread holding it may never come back.
  bool flushWithin(std::chrono::milliseconds limit);

 private:
  void run();
  void writePending();

  Sink sink_;
  std::mutex lifetime_;            // start and stop, one at a time
  std::timed_mutex writing_;       // one batch at a time, so batches stay in order
  std::timed_mutex pendingMutex_;  // guards the three fields below
  std::condition_variable_any wake_;
  std::vector<std::string> pending_;
  bool threadWrites_ = false;  // notes wait for the writer thread
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace debuglog
