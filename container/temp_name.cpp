#include "container/temp_name.h"

#include <atomic>
#include <chrono>
#include <random>
#include <string>

namespace container {

bool MakeTempFileName(const sys::Path& folder, sys::Path& out) {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<uint64_t> counter{0};
  // Seeded per call from time, process and a counter, so that two threads or
  // processes asking at once walk different sequences.
  std::mt19937_64 rng(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      (static_cast<uint64_t>(sys::ProcessId()) << 32) ^
                      (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull));
  std::uniform_int_distribution<size_t> pick(0, sizeof(kAlphabet) - 2);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::string name = "temp";
    for (int i = 0; i < 6; ++i) name += kAlphabet[pick(rng)];
    sys::Path candidate = folder / name;
    if (!sys::FileExists(candidate)) {
      out = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace container
