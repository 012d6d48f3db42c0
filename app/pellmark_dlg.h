// CPellmarkDlg: the track manager's main window (dialog template 102). It
// shows the player's albums and tracks in the tree list, starts the
// connectivity and load threads, turns the registered messages of the
// worker threads into screen updates, erases albums and tracks, shows the
// capacity, hands drops to the drop thread, and refuses to close, log off
// or suspend while a transfer runs.
//
// Its handlers live in files by concern: pellmark_dlg.cpp (life cycle,
// timers, closing), pellmark_dlg_filter.cpp (the window-procedure filter),
// pellmark_dlg_layout.cpp (sizing), pellmark_dlg_messages.cpp (the
// registered messages), pellmark_dlg_erase.cpp (Erase, Erase All, capacity),
// pellmark_dlg_drop.cpp (DoOleDrop and the list host callbacks).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command_line_drop.h"
#include "app/connectivity_thread.h"
#include "app/engine/album_vector.h"
#include "app/engine/drop_host.h"
#include "app/engine/drop_state.h"
#include "app/engine/drop_thread.h"
#include "app/engine/job_lists.h"
#include "app/engine/mp3_drop_target.h"
#include "app/load_thread.h"
#include "app/main_window_layout.h"
#include "app/named_semaphore_win32.h"
#include "app/transfer_flags.h"
#include "device/ipac_wrap.h"
#include "device/track_list_adapter.h"
#include "platform/system.h"
#include "treelist/track_list_ctrl_win32.h"
#include "treelist/track_list_host.h"
#include "win32/unique_gdi.h"
#include "win32/unique_image_list.h"
#include "winui/dialog.h"

namespace app {

class CTransferProgressDlg;

// Private message the load thread posts when its listing is ready.
constexpr UINT kListingReadyMessage = WM_APP + 0x51;
// Private message the window posts itself to show the log-off or suspend
// warning (wParam: the message number) after answering the request.
constexpr UINT kShowWarningMessage = WM_APP + 0x52;
// Posted by OnInitDialog: binds the device once the window shows.
constexpr UINT kStartDeviceMessage = WM_APP + 0x53;
// Holds the window's thread for wParam ms (at most kMaxHoldMs), as a busy
// or slow machine would: lets a test see that the window, falling behind
// its worker threads, still shows what they did.
constexpr UINT kHoldWindowMessage = WM_APP + 0x54;
constexpr WPARAM kMaxHoldMs = 30000;

class CPellmarkDlg final : public winui::CDialog, public treelist::TrackListHost, public engine::DropHost {
 public:
  // The program's main window: the process's device wrapper, and the
  // files and folders named on the command line.
  explicit CPellmarkDlg(CTransferProgressDlg* progress);
  // progress: the application's progress window (may be null in tests).
  CPellmarkDlg(CTransferProgressDlg* progress, device::CIPACWrap& device,
               TransferFlags& flags = SharedTransferFlags());
  ~CPellmarkDlg() override;

  // Files and folders from the command line, dropped on the list's empty
  // area once the first listing is shown.
  void SetCommandLinePaths(std::vector<sys::Path> paths);

  // ---- engine::DropHost ---------------------------------------------------------
  HWND ListWindow() override { return list_.hwnd(); }
  treelist::CTrackListCtrl& TrackList() override { return list_; }
  CTransferProgressDlg& ProgressWindow() override;
  void PrepareForTransfer() override;
  void DoOleDrop(bool accepted, bool refused) override;
  void KeepRefusals(const engine::RefusalList& refusals) override { dropRefusals_ = refusals; }
  bool IsTransferRunning() const override;
  size_t AlbumCount() const override { return albums_.Size(); }
  device::CIPACWrap& Device() override { return device_; }
  void EnableMainWindow(bool enable) override;

  // ---- treelist::TrackListHost ----------------------------------------------------
  void ShowMessage(unsigned messageId) override;
  void ShowText(const std::string& text) override;
  void OnAlbumOrderChanged() override;
  void OnListOutOfStep() override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog() override;
  bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  void OnSize(UINT sizeType, int width, int height) override;
  bool OnSysCommand(WPARAM command, LPARAM lParam) override;
  bool OnClose() override;
  void OnCancel() override;
  void OnDestroy() override;

 private:
  // pellmark_dlg.cpp
  void addAboutMenuItem();
  void setIcons();
  void setTexts();
  void paintMinimised();
  void setUpList();
  void startDevice();
  void startLoad();
  void showRefusalWarning(unsigned messageId);  // kShowWarningMessage
  void registerDropTarget();

  // pellmark_dlg_filter.cpp
  bool filterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // pellmark_dlg_layout.cpp
  void captureInitialLayout();
  void applyLayout(int width, int height);

  // pellmark_dlg_messages.cpp
  bool dispatchRegistered(UINT message, WPARAM wParam, LPARAM lParam);
  void onMediumChanged(WPARAM count, LPARAM items);
  void onRunningState(WPARAM sequence, LPARAM percent);
  void onTransferCompleted();
  void onOneTrackCompleted(WPARAM index);
  void onOneFolderCreated(WPARAM name, LPARAM eid);
  void onTransferCancelled();
  void onMediumDisconnected();
  void onClearListItems();
  void onListingReady();
  void runCommandLineDrop();

  // pellmark_dlg_erase.cpp
  void onErase();
  void onEraseAll();
  void UpdateMemoryState();
  void enableButtons(bool enable);
  void relist();

  CTransferProgressDlg* progress_;
  device::CIPACWrap& device_;
  TransferFlags& flags_;
  engine::JobLists& jobs_;
  engine::AlbumVector& albums_;

  device::CTrackListDeviceAdapter listDevice_;
  treelist::CTrackListCtrl list_;
  win::UniqueImageList images_;
  win::UniqueIcon bigIcon_;
  win::UniqueIcon smallIcon_;
  InitialLayout initialLayout_;
  bool layoutTaken_ = false;

  // "PLMKLIST_SEMAPHORE" (held while the list adds a finished track),
  // "LOAD_SEMAPHORE" (held for a whole listing) and two that only mark the
  // program's presence to others.
  CNamedSemaphore listSemaphore_;
  CNamedSemaphore loadSemaphore_;
  CNamedSemaphore esysSemaphore_;
  CNamedSemaphore createFolderSemaphore_;

  engine::DropState dropState_;
  // The files the current drop skipped, named in the box at its end.
  engine::RefusalList dropRefusals_;
  engine::CDropThread dropThread_;
  CConnectivityThread connectivity_;
  CLoadThread loader_;
  engine::CMp3DropTarget* dropTarget_ = nullptr;  // one reference of ours
  bool dropTargetRegistered_ = false;

  bool mediumListShown_ = false;
  bool deviceStarted_ = false;
  // A system-modal warning of a refused log-off or suspend is up: the
  // progress window is not pushed above it.
  bool warningUp_ = false;
  // The album the running drop writes to, as the progress display names it
  // (the drop thread's own copy is not read while it runs).
  std::u16string progressAlbumName_;
  uint32_t tracksDoneInDrop_ = 0;
  // Reports of finished tracks the list could not place (no drop album,
  // or the list was cleared); the listing is read again at the end of the
  // drop.
  bool relistAfterDrop_ = false;

  std::unique_ptr<CCommandLineDrop> commandLine_;
};

}  // namespace app
