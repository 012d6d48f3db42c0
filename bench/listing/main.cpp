// bench_listing: the start of Pellmark.exe against a full simulated player,
// timed from the program's start to every row of the player shown in the
// album/track list, beside the player tool's own listing of the same player
// (`playertool list`) in the same run. The fixed cost of starting (the same
// time for an empty player) is taken off the program's figure, so what is
// left is the listing: the load thread's reading and the list filled.
//
//   bench_listing [--runs N]          (default 3; every figure is the median)
//
// Players of 2,000 and 20,000 tracks in albums of 500 are filled quickly with
// `playertool fill` (one real transfer, the rest copies of that track).
#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/common/bench_files.h"
#include "tests/harness/list_view_reader.h"
#include "tests/harness/window_finder.h"
#include "win32/unique_handle.h"

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Seconds;

constexpr int kTracksPerAlbum = 500;
constexpr int kListId = 1004;
constexpr int kEraseAllId = 4;
constexpr DWORD kStartLimitMs = 300 * 1000;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// A small MP3 with a tag: the one track the fill transfers.
std::vector<uint8_t> MakeMp3() {
  const std::string title = "Listing Track";
  std::vector<uint8_t> frame = {'T', 'I', 'T', '2', 0, 0, 0, static_cast<uint8_t>(title.size() + 1), 0, 0, 0};
  frame.insert(frame.end(), title.begin(), title.end());
  std::vector<uint8_t> data = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<uint8_t>(frame.size())};
  data.insert(data.end(), frame.begin(), frame.end());
  bench::AppendFrames(data, 16 * bench::k128kbit.bytes, 1, bench::k128kbit);
  return data;
}

// Runs a program of this folder to its end, its output thrown away. The
// exit code, or -1 when it cannot run.
int RunQuietly(const fs::path& program, const std::wstring& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  win::UniqueHandle nul(::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = nul.get();
  si.hStdError = nul.get();
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + program.wstring() + L"\" " + arguments;
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
    return -1;
  win::UniqueHandle process(pi.hProcess);
  win::UniqueHandle thread(pi.hThread);
  ::WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

struct Player {
  int tracks = 0;
  fs::path folder;
  int rows() const { return tracks + tracks / kTracksPerAlbum; }  // albums open, one row each
};

bool Fill(const fs::path& bin, const Player& player, const fs::path& mp3) {
  fs::remove_all(player.folder);
  fs::create_directories(player.folder);
  if (player.tracks == 0) return true;
  const auto start = Clock::now();
  const int code = RunQuietly(bin / L"playertool.exe",
                              L"fill --albums " + std::to_wstring(player.tracks / kTracksPerAlbum) +
                                  L" --tracks-per-album " + std::to_wstring(kTracksPerAlbum) + L" \"" +
                                  mp3.wstring() + L"\" --player \"" + player.folder.wstring() + L"\"");
  std::printf("filled a player with %d tracks in %.1f s\n", player.tracks, Seconds(Clock::now() - start));
  return code == 0;
}

double TimeToolListing(const fs::path& bin, const Player& player) {
  const auto start = Clock::now();
  if (RunQuietly(bin / L"playertool.exe", L"list --player \"" + player.folder.wstring() + L"\"") != 0)
    return -1;
  return Seconds(Clock::now() - start);
}

int ListCount(HWND list) {
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return -1;
  return static_cast<int>(count);
}

struct StartResult {
  bool ok = false;
  double seconds = 0;
  int rowsRead = -1;  // rows read back across processes, when asked
};

// Starts the program against the player and waits until every row is in
// the list, the last one answers its text, and the window answers messages
// (the fill of the list is over).
StartResult TimeStart(const fs::path& bin, const Player& player, bool readBack) {
  StartResult r;
  ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", player.folder.wstring().c_str());
  const fs::path program = bin / L"Pellmark.exe";
  const auto start = Clock::now();
  win::UniqueHandle process(bench::StartProgram(program));
  if (!process) {
    std::fprintf(stderr, "bench_listing: cannot start Pellmark.exe (%lu)\n", ::GetLastError());
    return r;
  }

  probe::WindowFilter filter;
  filter.title = L"Pellmark";
  filter.withControl = kListId;
  // Polled every 5 ms, not at the probe's pace: at 2,000 tracks the
  // listing takes well under a tenth of a second.
  const ULONGLONG limit = ::GetTickCount64() + kStartLimitMs;
  HWND main = nullptr;
  while (!main && ::GetTickCount64() < limit) {
    std::vector<HWND> found = probe::FindWindows(filter);
    if (!found.empty()) main = found.front();
    else ::Sleep(5);
  }
  HWND list = main ? ::GetDlgItem(main, kListId) : nullptr;
  bool shown = false;
  while (list && !shown && ::GetTickCount64() < limit) {
    shown = ::IsWindowEnabled(::GetDlgItem(main, kEraseAllId)) && ListCount(list) == player.rows() &&
            (player.rows() == 0 || probe::ReadListViewCell(list, player.rows() - 1, 0).has_value());
    if (!shown) ::Sleep(5);
  }
  DWORD_PTR answer = 0;
  if (shown) shown = ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer) != 0;
  r.seconds = Seconds(Clock::now() - start);
  r.ok = shown;
  if (!shown) std::fprintf(stderr, "bench_listing: the %d rows were not shown\n", player.rows());
  if (shown && readBack) {
    const auto rows = probe::ReadListViewRows(list, 5);
    r.rowsRead = rows ? static_cast<int>(rows->size()) : -1;
  }

  if (main) ::PostMessageW(main, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
  return r;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::wcscmp(argv[i], L"--runs")) runs = std::max(1, static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10)));
  }
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path bin = fs::path(self).parent_path();
  const fs::path temp = bench::FreshTempFolder(L"pellmark-bench-listing");
  bench::SkipHelpWindowAtStart();

  const fs::path mp3 = temp / L"Listing Track.mp3";
  if (!bench::WriteWhole(mp3, MakeMp3())) {
    std::fprintf(stderr, "bench_listing: cannot write the track\n");
    return 1;
  }
  std::vector<Player> players = {{0, temp / L"empty"}, {2000, temp / L"p2000"}, {20000, temp / L"p20000"}};
  for (const Player& p : players) {
    if (!Fill(bin, p, mp3)) {
      std::fprintf(stderr, "bench_listing: cannot fill the player with %d tracks\n", p.tracks);
      return 1;
    }
  }

  bool ok = true;
  std::vector<std::vector<double>> starts(players.size()), tools(players.size());
  for (int run = 0; run < runs; ++run) {
    for (size_t i = 0; i < players.size(); ++i) {
      // The rows are read back across processes once, as the test harness
      // reads them.
      const bool readBack = run == 0 && players[i].tracks == 2000;
      const StartResult s = TimeStart(bin, players[i], readBack);
      ok = ok && s.ok;
      if (readBack) {
        std::printf("rows read back across processes: %d of %d\n", s.rowsRead, players[i].rows());
        ok = ok && s.rowsRead == players[i].rows();
      }
      starts[i].push_back(s.seconds);
      tools[i].push_back(TimeToolListing(bin, players[i]));
      std::printf("run %d, %5d tracks: start to every row %.2f s, playertool list %.2f s\n", run + 1,
                  players[i].tracks, s.seconds, tools[i].back());
      std::fflush(stdout);
    }
  }

  const double startCost = Median(starts[0]);
  std::printf("start cost (empty player, start to the empty list shown): %.2f s\n", startCost);
  std::vector<double> perTrack(players.size(), 0), ratio(players.size(), 0);
  for (size_t i = 1; i < players.size(); ++i) {
    const double listing = Median(starts[i]) - startCost;
    const double tool = Median(tools[i]);
    perTrack[i] = listing / players[i].tracks;
    ratio[i] = tool > 0 ? listing / tool : 0;
    std::printf("%5d tracks: listing %.2f s (%.3f ms a track); playertool list %.2f s; ratio %.1f\n",
                players[i].tracks, listing, perTrack[i] * 1000, tool, ratio[i]);
  }
  std::printf("per-track cost at 20,000 over that at 2,000: %.2f (at most 1.5)\n",
              perTrack[1] > 0 ? perTrack[2] / perTrack[1] : 0);
  std::printf("ratio: %.1f\n", ratio[2]);
  fs::remove_all(temp);
  return ok ? 0 : 1;
}
