#include "platform/cost_meter.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/system.h"

namespace costs {

namespace detail {
std::atomic<bool> g_on{false};
}  // namespace detail

namespace {

constexpr const char* kAreaNames[] = {"drop-thread", "transfer",     "transaction",
                                      "tag-write",   "chunk-writes", "device-calls",
                                      "index-saves", "ui-updates",   "waits",
                                      "source-reads", "log-notes",    "file-checks"};
static_assert(sizeof(kAreaNames) / sizeof(kAreaNames[0]) == static_cast<size_t>(Area::kCount));

struct Sums {
  std::atomic<int64_t> nanoseconds[static_cast<size_t>(Area::kCount)] = {};
  std::atomic<uint32_t> counts[static_cast<size_t>(Area::kCount)] = {};
  std::mutex reportMutex;
  std::string module;
  std::string file;
};

Sums& TheSums() {
  static Sums sums;
  return sums;
}

}  // namespace

const char* AreaName(Area area) { return kAreaNames[static_cast<size_t>(area)]; }

void detail::Add(Area area, std::chrono::steady_clock::duration spent) {
  Sums& s = TheSums();
  const auto i = static_cast<size_t>(area);
  s.nanoseconds[i].fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count(),
                             std::memory_order_relaxed);
  s.counts[i].fetch_add(1, std::memory_order_relaxed);
}

void StartFromEnvironment(const char* module) {
  const char* file = std::getenv("PELLMARK_COSTS");
  if (!file || !*file) return;
  Sums& s = TheSums();
  std::lock_guard<std::mutex> hold(s.reportMutex);
  s.module = module;
  s.file = file;
  detail::g_on.store(true);
}

void Report() {
  if (!On()) return;
  Sums& s = TheSums();
  std::lock_guard<std::mutex> hold(s.reportMutex);
  std::FILE* f = sys::OpenStdioFile(sys::PathFromAnsi(s.file), "a");
  if (!f) return;
  for (size_t i = 0; i < static_cast<size_t>(Area::kCount); ++i) {
    const uint32_t count = s.counts[i].load();
    if (count == 0) continue;
    std::fprintf(f, "%s %s %.6f %u\n", s.module.c_str(), kAreaNames[i], s.nanoseconds[i].load() / 1e9, count);
  }
  std::fclose(f);
}

}  // namespace costs
