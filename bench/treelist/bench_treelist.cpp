// Times the album/track list control with a big player: loading albums and
// tracks, numbering, closing and opening albums, erasing a selection and
// moving tracks. Each step runs at a quarter, half and the full size
// (4,000 albums of 10 tracks); the cost per row should not grow with the
// size, and the last line gives the worst growth of the steps that must be
// linear (loading, numbering, opening and closing albums) as "ratio: N".
#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/treelist/memory_player.h"
#include "treelist/track_list_ctrl_win32.h"

namespace {

using treelist::CTrackListCtrl;
using treelist::LoadedAlbum;
using treelist::LoadedTrack;

constexpr int kFullAlbums = 4000;
constexpr int kTracksPerAlbum = 10;
constexpr int kSingleAlbums = 50;
// Each size runs this often; the quickest time of a step counts, so that
// other work on the machine does not pass for growth.
constexpr int kRepeats = 3;

class QuietHost : public treelist::TrackListHost {
 public:
  void ShowMessage(unsigned) override {}
  void ShowText(const std::string&) override {}
  bool IsTransferRunning() const override { return false; }
  void OnAlbumOrderChanged() override {}
};

std::vector<LoadedAlbum> MakePlayer(treelisttest::MemoryPlayer& player, int albums) {
  std::vector<LoadedAlbum> out;
  out.reserve(static_cast<size_t>(albums));
  for (int a = 0; a < albums; ++a) {
    LoadedAlbum album;
    album.name = "Album " + std::to_string(a);
    album.eid = player.addAlbum(album.name);
    for (int t = 0; t < kTracksPerAlbum; ++t) {
      LoadedTrack track;
      track.title = "Track " + std::to_string(a) + "." + std::to_string(t);
      track.artist = "Artist";
      track.album = album.name;
      track.genre = "Rock";
      track.durationMs = 180000 + t * 1000;
      track.eid = player.addTrack(album.eid, track.title);
      album.tracks.push_back(std::move(track));
    }
    out.push_back(std::move(album));
  }
  return out;
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

double Seconds(const std::function<void()>& step) {
  auto start = std::chrono::steady_clock::now();
  step();
  Pump();  // the repaint after the change belongs to the step
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Step {
  std::string name;
  double seconds;
  long rows;  // rows (items) the step handles
  // Loading, numbering and opening must stay linear. Steps that delete
  // many list-view rows are not counted: Wine's list view finds each
  // deleted row's identifier by a linear search, so deleting n rows costs
  // it n * n / 2 steps whatever the control does.
  bool mustBeLinear = true;
};

// Runs every step at one size and answers the timings.
std::vector<Step> RunAtSize(HWND host, int albums) {
  std::vector<Step> steps;
  QuietHost quiet;
  treelisttest::MemoryPlayer player;
  std::vector<LoadedAlbum> loaded = MakePlayer(player, albums);
  const long items = static_cast<long>(albums) * (kTracksPerAlbum + 1);

  auto ctrl = std::make_unique<CTrackListCtrl>(&quiet, &player);
  RECT r{0, 0, 900, 600};
  if (!ctrl->Create(host, r, 1004)) return steps;
  ::SendMessageW(ctrl->hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  ctrl->InsertStandardColumns({L"Title", L"Artist", L"Time", L"Album", L"Genre"});
  Pump();

  steps.push_back({"load all at once", Seconds([&] { ctrl->LoadAll(loaded); }), items});
  steps.push_back({"renumber", Seconds([&] { ctrl->Renumber(); }), items});
  steps.push_back({"collapse all", Seconds([&] { ctrl->List().collapseAll(); }), items, false});
  steps.push_back({"expand all", Seconds([&] { ctrl->List().expandAll(); }), items});
  // A user opens and closes albums one at a time, each shown at once: 50
  // albums spread over the list, the rows of each counted.
  const int every = albums / kSingleAlbums;
  const long singleRows = kSingleAlbums * (kTracksPerAlbum + 1);
  steps.push_back({"collapse 50 albums one by one", Seconds([&] {
                     for (int a = 0; a < albums; a += every) {
                       ctrl->Collapse(ctrl->List().albumAt(a));
                       Pump();
                     }
                   }),
                   singleRows});
  steps.push_back({"expand 50 albums one by one", Seconds([&] {
                     for (int a = 0; a < albums; a += every) {
                       ctrl->Expand(ctrl->List().albumAt(a));
                       Pump();
                     }
                   }),
                   singleRows});

  // Erase every tenth album and one track of every other album: the rows
  // go, the rest is renumbered.
  steps.push_back({"erase a selection and renumber", Seconds([&] {
                     ctrl->SelectRow(-1, false);
                     for (int a = 0; a < albums; ++a) {
                       treelist::TrackListItem* album = ctrl->List().albumAt(a);
                       if (a % 10 == 0)
                         ctrl->SelectRow(ctrl->RowOfItem(album), true);
                       else if (a % 2 == 1)
                         ctrl->SelectRow(ctrl->RowOfItem(album->child(3)), true);
                     }
                     ctrl->EraseSelectedItem();
                   }),
                   items, false});

  // Move the first track of 500 albums per 4,000 into the last album
  // (the player allows 999 tracks per album).
  steps.push_back({"move tracks into an album", Seconds([&] {
                     int count = ctrl->List().albumCount();
                     std::vector<treelist::TreeListItem*> moving;
                     for (int a = 0; a < count - 1 && static_cast<int>(moving.size()) < albums / 8; a += 2)
                       moving.push_back(ctrl->List().albumAt(a)->child(0));
                     ctrl->SelectRow(-1, false);
                     for (treelist::TreeListItem* item : moving) ctrl->SelectRow(ctrl->RowOfItem(item), true);
                     if (ctrl->CanStartDrag()) {
                       treelist::TrackListItem* last = ctrl->List().albumAt(count - 1);
                       ctrl->List().moveSelection({ctrl->RowOfItem(last), treelist::tlMove_Lower});
                     }
                   }),
                   items, false});

  // The loader's way: item by item, inside one update bracket.
  steps.push_back({"load again item by item", Seconds([&] {
                     ctrl->EraseAll();
                     ctrl->BeginUpdate();
                     for (const LoadedAlbum& a : loaded)
                       ctrl->List().addLoadedAlbum(a.name, a.durationMs, a.eid);
                     for (int i = 0; i < albums; ++i)
                       for (const LoadedTrack& t : loaded[static_cast<size_t>(i)].tracks)
                         ctrl->List().addLoadedTrack(ctrl->List().albumAt(i), t);
                     ctrl->Renumber();
                     ctrl->EndUpdate();
                   }),
                   items});
  steps.push_back({"erase all", Seconds([&] { ctrl->EraseAll(); }), items, false});
  ctrl.reset();
  Pump();
  return steps;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PellmarkTreeListBench";
  ::RegisterClassW(&wc);
  HWND host = ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 920, 640, nullptr,
                                nullptr, wc.hInstance, nullptr);
  // Under Wine a window needs an X display (DISPLAY) or the null
  // graphics driver of the prefix.
  if (!host) {
    std::printf("cannot create a window: no display? (set DISPLAY to an X server)\n");
    return 1;
  }
  ::ShowWindow(host, SW_SHOW);
  Pump();

  const int sizes[] = {kFullAlbums / 4, kFullAlbums / 2, kFullAlbums};
  std::map<int, std::vector<Step>> results;
  for (int albums : sizes) {
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
      std::vector<Step> run = RunAtSize(host, albums);
      if (run.empty()) {
        std::printf("cannot create the list control\n");
        return 1;
      }
      std::vector<Step>& best = results[albums];
      if (best.empty()) {
        best = run;
        continue;
      }
      for (size_t i = 0; i < best.size() && i < run.size(); ++i)
        best[i].seconds = std::min(best[i].seconds, run[i].seconds);
    }
    std::printf("%d albums, %d tracks (best of %d):\n", albums, albums * kTracksPerAlbum, kRepeats);
    for (const Step& s : results[albums])
      std::printf("  %-32s %9.1f ms  %7.2f us/row\n", s.name.c_str(), s.seconds * 1000.0,
                  s.seconds * 1e6 / static_cast<double>(s.rows));
    std::fflush(stdout);
  }

  // Growth of the per-row cost from a quarter to the full size; 1 is linear.
  const std::vector<Step>& quarter = results[sizes[0]];
  const std::vector<Step>& full = results[sizes[2]];
  double worst = 0;
  std::printf("per-row cost, full size against a quarter (* counts for the ratio):\n");
  for (size_t i = 0; i < full.size() && i < quarter.size(); ++i) {
    double q = quarter[i].seconds / static_cast<double>(quarter[i].rows);
    double f = full[i].seconds / static_cast<double>(full[i].rows);
    // Steps too quick to time well at a quarter size say nothing about growth.
    double ratio = quarter[i].seconds > 0.002 ? f / q : 1.0;
    std::printf("  %-32s %6.2f %s\n", full[i].name.c_str(), ratio, full[i].mustBeLinear ? "*" : "");
    if (full[i].mustBeLinear) worst = std::max(worst, ratio);
  }
  ::DestroyWindow(host);
  std::printf("ratio: %.2f\n", worst);
  return 0;
}
