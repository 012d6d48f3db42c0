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
//               100 ms).
// Each figure is the median of --runs runs.
//
//   bench_drop [--files N] [--kb N] [--runs N]      (default 2,000 files of 150 KB, 1 run)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
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

constexpr DWORD kStallLimitMs = 100;

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

struct RunResult {
  bool ok = false;
  double collection = 0;
  double whole = 0;
  DWORD stallMs = 0;
};

RunResult RunDrop(const fs::path& program, const fs::path& player, const fs::path& files, size_t count) {
  RunResult r;
  fs::remove_all(player);
  fs::create_directories(player);
  ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", player.wstring().c_str());
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + program.wstring() + L"\"";
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
    std::fprintf(stderr, "bench_drop: cannot start Pellmark.exe (%lu)\n", ::GetLastError());
    return r;
  }
  win::UniqueHandle process(pi.hProcess);
  win::UniqueHandle thread(pi.hThread);

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
  for (const auto& e : fs::directory_iterator(player / "tracks")) onPlayer += e.is_regular_file() ? 1 : 0;
  r.ok = onPlayer == count && outcome.result == DRAGDROP_S_DROP;
  if (!r.ok) std::fprintf(stderr, "bench_drop: %zu of %zu tracks on the player\n", onPlayer, count);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
  return r;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  size_t fileCount = 2000;
  size_t kb = 150;
  int runs = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const long long v = std::wcstoll(argv[i + 1], nullptr, 10);
    if (!std::wcscmp(argv[i], L"--files")) fileCount = static_cast<size_t>(std::max(1LL, v));
    if (!std::wcscmp(argv[i], L"--kb")) kb = static_cast<size_t>(std::max(4LL, v));
    if (!std::wcscmp(argv[i], L"--runs")) runs = static_cast<int>(std::max(1LL, v));
  }
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path bin = fs::path(self).parent_path();
  const fs::path program = bin / L"Pellmark.exe";
  wchar_t tempText[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, tempText);
  const fs::path temp = fs::path(tempText) / L"pellmark-bench-drop";
  const fs::path files = temp / L"Bench Folder";
  fs::remove_all(temp);
  fs::create_directories(files);

  // No help window at start-up.
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Keltan Corporation\\Pellmark", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    DWORD ten = 10;
    ::RegSetValueExW(key, L"Pellmark", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&ten), sizeof ten);
    ::RegCloseKey(key);
  }

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
  std::vector<double> stalls;
  bool ok = true;
  for (int run = 0; run < runs; ++run) {
    reads.push_back(TimeRead(paths));
    copies.push_back(bench::TimeCopy(paths, temp / L"copy"));
    fs::remove_all(temp / L"copy");
    RunResult r = RunDrop(program, temp / L"player", files, fileCount);
    ok = ok && r.ok;
    collections.push_back(r.collection);
    wholes.push_back(r.whole);
    stalls.push_back(r.stallMs);
    std::printf("run %d: collection %.2f s, whole drop %.2f s, longest stall %lu ms\n", run + 1, r.collection,
                r.whole, static_cast<unsigned long>(r.stallMs));
  }
  const double read = Median(reads), copy = Median(copies);
  const double collection = Median(collections), whole = Median(wholes), stall = Median(stalls);
  std::printf("collection (check and read every file): %.2f s; plain read of the files: %.2f s; ratio %.1f\n",
              collection, read, read > 0 ? collection / read : 0);
  std::printf("whole drop (onto the player): %.2f s; plain copy of the files: %.2f s; ratio %.1f\n", whole,
              copy, copy > 0 ? whole / copy : 0);
  std::printf("UI thread's longest stall during the transfer: %.0f ms (limit %lu ms)%s\n", stall,
              static_cast<unsigned long>(kStallLimitMs), stall < kStallLimitMs ? "" : "  TOO LONG");
  std::printf("ratio: %.1f\n", copy > 0 ? whole / copy : 0);
  fs::remove_all(temp);
  return ok && stall < kStallLimitMs ? 0 : 1;
}
