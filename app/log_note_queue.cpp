#include "app/log_note_queue.h"

#include <system_error>
#include <utility>

namespace debuglog {

NoteQueue::NoteQueue(Sink sink) : sink_(std::move(sink)) {}

NoteQueue::~NoteQueue() { stop(); }

void NoteQueue::add(std::string note) {
  bool writeNow = false;
  bool firstPending = false;
  {
    std::lock_guard<std::timed_mutex> guard(pendingMutex_);
    firstPending = pending_.empty();
    pending_.push_back(std::move(note));
    writeNow = !threadWrites_;
  }
  if (writeNow) {
    flush();
  } else if (firstPending) {
    // Later notes of a burst find the writer already awake.
    wake_.notify_one();
  }
}

void NoteQueue::start() {
  std::lock_guard<std::mutex> guard(lifetime_);
  if (thread_.joinable()) return;
  {
    std::lock_guard<std::timed_mutex> pendingGuard(pendingMutex_);
    threadWrites_ = true;
    stopping_ = false;
  }
  try {
    thread_ = std::thread(&NoteQueue::run, this);
  } catch (const std::system_error&) {
    std::lock_guard<std::timed_mutex> pendingGuard(pendingMutex_);
    threadWrites_ = false;
  }
}

void NoteQueue::stop() {
  std::lock_guard<std::mutex> guard(lifetime_);
  if (thread_.joinable()) {
    {
      std::lock_guard<std::timed_mutex> pendingGuard(pendingMutex_);
      threadWrites_ = false;
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  flush();
}

void NoteQueue::run() {
  std::unique_lock<std::timed_mutex> lock(pendingMutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (!stopping_) wake_.wait_for(lock, kGatherTime, [this] { return stopping_; });
    // Notes added after stopping_ was set are written by their callers, so
    // this last batch is the thread's final work.
    const bool last = stopping_;
    lock.unlock();
    flush();
    if (last) return;
    lock.lock();
  }
}

void NoteQueue::writePending() {
  std::vector<std::string> batch;
  {
    std::lock_guard<std::timed_mutex> guard(pendingMutex_);
    batch.swap(pending_);
  }
  if (!batch.empty()) sink_(batch);
}

void NoteQueue::flush() {
  std::lock_guard<std::timed_mutex> guard(writing_);
  writePending();
}

bool NoteQueue::flushWithin(std::chrono::milliseconds limit) {
  std::unique_lock<std::timed_mutex> writing(writing_, std::defer_lock);
  if (!writing.try_lock_for(limit)) return false;
  std::vector<std::string> batch;
  {
    std::unique_lock<std::timed_mutex> pending(pendingMutex_, std::defer_lock);
    if (!pending.try_lock_for(limit)) return false;
    batch.swap(pending_);
  }
  if (!batch.empty()) sink_(batch);
  return true;
}

}  // namespace debuglog
