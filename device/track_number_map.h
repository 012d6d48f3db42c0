// The track numbers known to be in use on the player: one bit per number
// 0..65535. Numbers are reserved when a track is created or its album is
// listed and never released while the program runs, so a number freed by
// erasing a track is not handed out again until the next start.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace device {

class TrackNumberMap {
 public:
  static constexpr uint32_t kNumbers = 65536;

  // Marks n as in use; numbers beyond the map are ignored.
  void reserve(uint32_t n);
  bool inUse(uint32_t n) const;
  // The lowest free number in 1..65535, now reserved; 0 when all are used.
  uint32_t allocate();

 private:
  // The listing (UI or load thread) and the transfer (drop thread) both
  // reach the map, so it has its own small lock.
  mutable std::mutex mutex_;
  std::array<uint64_t, kNumbers / 64> bits_{};
  uint32_t lowestCandidate_ = 1;  // no free number lies below it
};

}  // namespace device
