#include "device/track_number_map.h"

namespace device {

void TrackNumberMap::reserve(uint32_t n) {
  if (n >= kNumbers) return;
  std::lock_guard<std::mutex> hold(mutex_);
  bits_[n / 64] |= uint64_t{1} << (n % 64);
}

bool TrackNumberMap::inUse(uint32_t n) const {
  if (n >= kNumbers) return false;
  std::lock_guard<std::mutex> hold(mutex_);
  return (bits_[n / 64] >> (n % 64)) & 1;
}

uint32_t TrackNumberMap::allocate() {
  std::lock_guard<std::mutex> hold(mutex_);
  for (uint32_t word = lowestCandidate_ / 64; word < bits_.size(); ++word) {
    if (bits_[word] == ~uint64_t{0}) continue;
    for (uint32_t bit = 0; bit < 64; ++bit) {
      const uint32_t n = word * 64 + bit;
      if (n == 0 || n < lowestCandidate_) continue;
      if (!((bits_[word] >> bit) & 1)) {
        bits_[word] |= uint64_t{1} << bit;
        lowestCandidate_ = n + 1;
        return n;
      }
    }
  }
  lowestCandidate_ = kNumbers;
  return 0;
}

}  // namespace device
