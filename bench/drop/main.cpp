// bench_drop: drops generated MP3 files onto the album/track list of a
// running Pellmark.exe (started here against an empty simulated player) and
// times, beside baselines measured in the same run:
//   collection: from the drop until the drop target has checked and read
//               every file (DoDragDrop returns), against one plain read of
//               the files;
//   whole drop: from the drop until the last track is on the player and the
//               progress window has gone, against a plain copy of the files;
//   stall:      the longest time the main window took to answer a message
//               while the transfer ran (pinged every 10 ms; must stay under
//               50 ms);
//   memory:     the program's peak working set and peak committed memory,
//               read just before it is closed;
//   per track:  where a track's time went, from the program's cost meter
//               (PELLMARK_COSTS): the transfer with its tag write, chunk
//               writes and other device-library calls (timed inside the
//               simulated player), transactions, the main window's handling
//               of progress messages, and the pauses between batches.
// Each figure is the median of --runs runs. --no-log runs the program with
// its diagnostic log unusable (its folder replaced by a file), so that the
// difference to a run with the log shows what the log costs.
//
//   bench_drop [--files N] [--kb N] [--runs N] [--no-log]   (default 2,000 files of 150 KB, 1 run)
// clang-format off
#include <windows.h>
#include <psapi.h>  // after windows.h, which it needs
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/common/bench_files.h"
#include "tests/harness/ole_drop.h"
#include "win32/unique_handle.h"

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Seconds;

constexpr DWORD kStallLimitMs = 50;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void AppendTextFrame(std::vector<uint8_t>& out, const char* id, const std::string& text) {
  const uint32_t size = static_cast<uint32_t>(text.size() + 1);
  out.insert(out.end(), id, id + 4);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(size >> shift));
  out.push_back(0);
  out.push_back(0);
  out.push_back(0);  // ISO-8859-1
  out.insert(out.end(), text.begin(), text.end());
}

std::vector<uint8_t> MakeMp3(size_t bytes, int number) {
  std::vector<uint8_t> frames;
  AppendTextFrame(frames, "TIT2", "Bench Track " + std::to_string(number));
  AppendTextFrame(frames, "TPE1", "Bench Band");
  AppendTextFrame(frames, "TALB", "Bench Album");
  std::vector<uint8_t> data = {'I', 'D', '3', 3, 0, 0};
  const uint32_t n = static_cast<uint32_t>(frames.size());
  for (int shift = 21; shift >= 0; shift -= 7) data.push_back(static_cast<uint8_t>((n >> shift) & 0x7F));
  data.insert(data.end(), frames.begin(), frames.end());
  bench::AppendFrames(data, bytes, static_cast<uint32_t>(number), bench::k128kbit);
  return data;
}

double TimeRead(const std::vector<fs::path>& files) {
  std::vector<char> buffer(1 << 16);
  const auto start = Clock::now();
  for (const auto& f : files) {
    std::FILE* in = _wfopen(f.c_str(), L"rb");
    if (!in) continue;
    while (std::fread(buffer.data(), 1, buffer.size(), in) == buffer.size()) {
    }
    std::fclose(in);
  }
  return Seconds(Clock::now() - start);
}

HWND FindWindowWithControl(int control, bool visibleOnly) {
  struct Search {
    int control;
    bool visibleOnly;
    DWORD pid;
    HWND found;
  } s{control, visibleOnly, 0, nullptr};
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        if (s.visibleOnly && !::IsWindowVisible(w)) return TRUE;
        wchar_t title[64] = {};
        ::GetWindowTextW(w, title, 64);
        if (std::wcscmp(title, L"Pellmark") != 0 || !::GetDlgItem(w, s.control)) return TRUE;
        s.found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitFor(int control, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (::GetTickCount64() < end) {
    if (HWND w = FindWindowWithControl(control, true)) return w;
    ::Sleep(50);
  }
  return nullptr;
}

// Seconds and counts per cost area, summed over the program and the
// simulated player ("<module> <area> <seconds> <count>" lines).
using CostSums = std::map<std::string, std::pair<double, unsigned>>;

CostSums ReadCosts(const fs::path& file) {
  CostSums sums;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string module, area;
    double seconds = 0;
    unsigned count = 0;
    if (!(fields >> module >> area >> seconds >> count)) continue;
    sums[area].first += seconds;
    sums[area].second += count;
  }
  return sums;
}

struct RunResult {
  bool ok = false;
  double collection = 0;
  double whole = 0;
  DWORD stallMs = 0;
  double peakWorkingSetMb = 0;
  double peakCommitMb = 0;
  CostSums costs;
};

RunResult RunDrop(const fs::path& program, const fs::path& player, const fs::path& files, size_t count,
                  const fs::path& costFile) {
  RunResult r;
  fs::remove_all(player);
  fs::create_directories(player);
  ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", player.wstring().c_str());
  std::error_code ec;
  fs::remove(costFile, ec);
  ::SetEnvironmentVariableW(L"PELLMARK_COSTS", costFile.wstring().c_str());
  win::UniqueHandle process(bench::StartProgram(program));
  if (!process) {
    std::fprintf(stderr, "bench_drop: cannot start Pellmark.exe (%lu)\n", ::GetLastError());
    return r;
  }

  HWND main = WaitFor(1004, 30000);
  HWND list = main ? ::GetDlgItem(main, 1004) : nullptr;
  // The listing is shown once Erase All is enabled.
  for (int i = 0; list && i < 300 && !::IsWindowEnabled(::GetDlgItem(main, 4)); ++i) ::Sleep(50);
  POINT point{};
  if (!list || !probe::EmptyAreaOfList(list, point)) {
    std::fprintf(stderr, "bench_drop: no main window with an empty list\n");
    ::TerminateProcess(process.get(), 1);
    return r;
  }

  const probe::DropOutcome outcome = probe::DropFiles({files.wstring()}, point);
  const ULONGLONG collected = ::GetTickCount64();
  r.collection = (collected - outcome.droppedAtMs) / 1000.0;

  // Ping the main window until the progress window has gone.
  std::atomic<bool> stop{false};
  std::atomic<DWORD> worst{0};
  std::thread pinger([&] {
    while (!stop.load()) {
      const ULONGLONG before = ::GetTickCount64();
      DWORD_PTR answer = 0;
      ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
      const DWORD took = static_cast<DWORD>(::GetTickCount64() - before);
      if (took > worst.load()) worst.store(took);
      ::Sleep(10);
    }
  });
  const ULONGLONG limit = ::GetTickCount64() + 3600 * 1000;
  ::Sleep(500);
  while (::GetTickCount64() < limit && FindWindowWithControl(1007, true)) ::Sleep(20);
  const ULONGLONG done = ::GetTickCount64();
  stop.store(true);
  pinger.join();
  r.whole = (done - outcome.droppedAtMs) / 1000.0;
  r.stallMs = worst.load();

  size_t onPlayer = 0;
  for (const auto& e : fs::recursive_directory_iterator(player / "tracks"))
    onPlayer += e.is_regular_file() ? 1 : 0;
  r.ok = onPlayer == count && outcome.result == DRAGDROP_S_DROP;
  if (!r.ok) std::fprintf(stderr, "bench_drop: %zu of %zu tracks on the player\n", onPlayer, count);

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(process.get(), &memory, sizeof memory)) {
    r.peakWorkingSetMb = memory.PeakWorkingSetSize / 1048576.0;
    r.peakCommitMb = memory.PeakPagefileUsage / 1048576.0;
  }

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
  r.costs = ReadCosts(costFile);
  return r;
}

}  // namespace

// Makes the program's diagnostic log unusable for the benchmark's runs (a
// file where its folder should be) and gives it back afterwards.
class LogSwitch {
 public:
  explicit LogSwitch(bool off) : off_(off) {
    if (!off_) return;
    std::error_code ec;
    if (fs::exists(folder_, ec)) fs::rename(folder_, saved_, ec);
    std::ofstream(folder_).put('x');
  }
  ~LogSwitch() {
    if (!off_) return;
    std::error_code ec;
    fs::remove(folder_, ec);
    if (fs::exists(saved_, ec)) fs::rename(saved_, folder_, ec);
  }

 private:
  bool off_;
  fs::path folder_ = L"C:\\Pellmark LogFile";
  fs::path saved_ = L"C:\\Pellmark LogFile.bench-saved";
};

void PrintCosts(const CostSums& costs, size_t tracks) {
  auto ms = [&](const char* area) {
    auto it = costs.find(area);
    return it == costs.end() || tracks == 0 ? 0.0 : it->second.first * 1000.0 / tracks;
  };
  const double transfer = ms("transfer"), tag = ms("tag-write"), chunks = ms("chunk-writes");
  const double device = ms("device-calls"), transactions = ms("transaction"), thread = ms("drop-thread");
  std::printf(
      "per track (ms): drop thread %.2f = transfer %.2f + transactions %.2f + waits %.2f + rest %.2f\n",
      thread, transfer, transactions, ms("waits"), thread - transfer - transactions - ms("waits"));
  // The player times every call, transactions included; those the drop
  // thread brackets are counted there already.
  const double deviceInTransfer = std::max(0.0, device - transactions);
  std::printf(
      "  in the transfer: tag write %.2f, chunk writes %.2f, other device-library calls %.2f "
      "(index saves %.2f), the program's own work and its log %.2f\n",
      tag, chunks, deviceInTransfer, ms("index-saves"), transfer - tag - chunks - deviceInTransfer);
  std::printf("  main window: progress messages handled %.2f\n", ms("ui-updates"));
  std::printf("  every area (seconds, times):");
  for (const auto& [area, sum] : costs) std::printf(" %s %.3f/%u", area.c_str(), sum.first, sum.second);
  std::printf("\n");
}

int wmain(int argc, wchar_t** argv) {
  size_t fileCount = 2000;
  size_t kb = 150;
  int runs = 1;
  bool noLog = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::wcscmp(argv[i], L"--no-log")) {
      noLog = true;
      continue;
    }
    if (i + 1 >= argc) break;
    const long long v = std::wcstoll(argv[i + 1], nullptr, 10);
    if (!std::wcscmp(argv[i], L"--files")) fileCount = static_cast<size_t>(std::max(1LL, v));
    if (!std::wcscmp(argv[i], L"--kb")) kb = static_cast<size_t>(std::max(4LL, v));
    if (!std::wcscmp(argv[i], L"--runs")) runs = static_cast<int>(std::max(1LL, v));
    ++i;
  }
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path bin = fs::path(self).parent_path();
  const fs::path program = bin / L"Pellmark.exe";
  const fs::path temp = bench::FreshTempFolder(L"pellmark-bench-drop");
  const fs::path files = temp / L"Bench Folder";
  fs::create_directories(files);
  bench::SkipHelpWindowAtStart();

  std::vector<fs::path> paths;
  uint64_t total = 0;
  for (size_t i = 0; i < fileCount; ++i) {
    const auto data = MakeMp3(kb * 1024, static_cast<int>(i));
    wchar_t name[64];
    std::swprintf(name, 64, L"Bench Track %04zu.mp3", i + 1);
    paths.push_back(files / name);
    if (!bench::WriteWhole(paths.back(), data)) {
      std::fprintf(stderr, "bench_drop: cannot write the files\n");
      return 1;
    }
    total += data.size();
  }
  std::printf("files: %zu MP3 files, %.1f MB, in one dropped folder\n", fileCount, total / 1048576.0);

  std::vector<double> reads, copies, collections, wholes;
  std::vector<double> stalls, workingSets, commits;
  std::vector<RunResult> results;
  bool ok = true;
  {
    LogSwitch log(noLog);
    if (noLog) std::printf("the diagnostic log is off for these runs\n");
    for (int run = 0; run < runs; ++run) {
      reads.push_back(TimeRead(paths));
      copies.push_back(bench::TimeCopy(paths, temp / L"copy"));
      fs::remove_all(temp / L"copy");
      RunResult r = RunDrop(program, temp / L"player", files, fileCount, temp / L"costs.txt");
      ok = ok && r.ok;
      collections.push_back(r.collection);
      wholes.push_back(r.whole);
      stalls.push_back(r.stallMs);
      workingSets.push_back(r.peakWorkingSetMb);
      commits.push_back(r.peakCommitMb);
      std::printf(
          "run %d: collection %.2f s (read %.2f s), whole drop %.2f s (copy %.2f s), longest stall %lu ms, "
          "peak memory %.1f MB working set, %.1f MB committed\n",
          run + 1, r.collection, reads.back(), r.whole, copies.back(), static_cast<unsigned long>(r.stallMs),
          r.peakWorkingSetMb, r.peakCommitMb);
      results.push_back(std::move(r));
    }
  }
  // The breakdown of the run with the median whole drop.
  std::vector<size_t> order(results.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return results[a].whole < results[b].whole; });
  if (!order.empty()) PrintCosts(results[order[order.size() / 2]].costs, fileCount);
  const double read = Median(reads), copy = Median(copies);
  const double collection = Median(collections), whole = Median(wholes), stall = Median(stalls);
  std::printf("collection (check and read every file): %.2f s; plain read of the files: %.2f s; ratio %.1f\n",
              collection, read, read > 0 ? collection / read : 0);
  std::printf("whole drop (onto the player): %.2f s; plain copy of the files: %.2f s; ratio %.1f\n", whole,
              copy, copy > 0 ? whole / copy : 0);
  std::printf("UI thread's longest stall during the transfer: %.0f ms (limit %lu ms)%s\n", stall,
              static_cast<unsigned long>(kStallLimitMs), stall < kStallLimitMs ? "" : "  TOO LONG");
  std::printf("program's peak memory during the drop: %.1f MB working set, %.1f MB committed (%zu files)\n",
              Median(workingSets), Median(commits), fileCount);
  std::printf("ratio: %.1f\n", copy > 0 ? whole / copy : 0);
  fs::remove_all(temp);
  return ok && stall < kStallLimitMs ? 0 : 1;
}
