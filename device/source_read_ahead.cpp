#include "device/source_read_ahead.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace device {

CSourceReadAhead::~CSourceReadAhead() {
  {
    sys::MonitorLock hold(monitor_);
    stopping_ = true;
    monitor_.wakeAll();
  }
  if (thread_.joinable()) thread_.join();
}

CSourceReadAhead::Entry* CSourceReadAhead::find(uint64_t id) {
  for (Entry& e : entries_) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

void CSourceReadAhead::Expect(const sys::Path& source) {
  if (source.empty()) return;
  sys::MonitorLock hold(monitor_);
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread(&CSourceReadAhead::run, this);
    } catch (const std::system_error&) {
      return;  // without a thread every source is opened by its transfer
    }
  }
  while (entries_.size() >= kMaxHeld) entries_.pop_front();
  Entry e;
  e.id = nextId_++;
  e.path = source;
  entries_.push_back(std::move(e));
  monitor_.wakeAll();
}

bool CSourceReadAhead::Take(const sys::Path& source, OpenedSource& out) {
  sys::MonitorLock hold(monitor_);
  const auto it =
      std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == source; });
  if (it == entries_.end()) return false;
  entries_.erase(entries_.begin(), it);
  // Only this caller removes entries, so the front stays the one taken.
  hold.waitUntil([this] { return entries_.front().done; });
  out = std::move(entries_.front().opening);
  entries_.pop_front();
  return true;
}

void CSourceReadAhead::Forget() {
  sys::MonitorLock hold(monitor_);
  entries_.clear();
}

void CSourceReadAhead::Recycle(std::vector<uint8_t> buffer) {
  if (buffer.capacity() == 0 || buffer.capacity() > kWholeReadLimit) return;
  buffer.clear();
  sys::MonitorLock hold(monitor_);
  if (spare_.size() <= kMaxHeld) spare_.push_back(std::move(buffer));
}

std::vector<uint8_t> CSourceReadAhead::Buffer() {
  sys::MonitorLock hold(monitor_);
  return takeSpare();
}

std::vector<uint8_t> CSourceReadAhead::takeSpare() {
  if (spare_.empty()) return {};
  std::vector<uint8_t> buffer = std::move(spare_.back());
  spare_.pop_back();
  return buffer;
}

void CSourceReadAhead::run() {
  sys::MonitorLock hold(monitor_);
  for (;;) {
    Entry* next = nullptr;
    hold.waitUntil([&] {
      if (stopping_) return true;
      const auto it = std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.done; });
      next = it == entries_.end() ? nullptr : &*it;
      return next != nullptr;
    });
    if (stopping_) return;
    const uint64_t id = next->id;
    const sys::Path path = next->path;
    std::vector<uint8_t> buffer = takeSpare();
    hold.unlock();
    OpenedSource opening = OpenSource(path, std::move(buffer));
    hold.lock();
    // An entry let go meanwhile is gone: its opening closes here.
    if (Entry* e = find(id)) {
      e->opening = std::move(opening);
      e->done = true;
      monitor_.wakeAll();
    }
  }
}

}  // namespace device
