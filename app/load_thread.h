// The load thread: reads the player's whole listing (albums, then every
// album's tracks) under "LOAD_SEMAPHORE" and hands it to the main window,
// which shows it in one pass. The thread never touches a window: it leaves
// the listing here and posts kListingReadyMessage; the main window takes it
// with TakeListing.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <vector>

#include "app/named_semaphore_win32.h"
#include "device/device_records.h"
#include "device/ipac_wrap.h"
#include "treelist/track_list.h"
#include "win32/unique_handle.h"

namespace app {

struct Listing {
  HRESULT albumsResult = S_OK;  // EnumAlbums; a failure means nothing else was read
  std::vector<device::AlbumRecord> albums;
  std::vector<treelist::LoadedAlbum> tree;
  // Albums whose tracks could not be listed (shown without tracks).
  int unreadableAlbums = 0;
};

// The listing as the device wrapper gives it, with texts for the list in
// the tag code page.
Listing ReadListing(device::CIPACWrap& device, uint32_t tagCodePage);

class CLoadThread {
 public:
  CLoadThread() = default;
  ~CLoadThread() { Join(); }
  CLoadThread(const CLoadThread&) = delete;
  CLoadThread& operator=(const CLoadThread&) = delete;

  // Starts a load; false while one runs or when the thread cannot be made.
  bool Start(HWND mainWindow, UINT readyMessage, device::CIPACWrap& device, const CNamedSemaphore& semaphore);
  // The finished listing, once; empty before the thread is done.
  std::optional<Listing> TakeListing();
  void Join();
  bool IsRunning() const;

 private:
  static DWORD WINAPI ThreadProc(void* parameter);

  HWND mainWindow_ = nullptr;
  UINT readyMessage_ = 0;
  device::CIPACWrap* device_ = nullptr;
  const CNamedSemaphore* semaphore_ = nullptr;
  win::UniqueHandle thread_;
  std::mutex mutex_;
  std::optional<Listing> ready_;
};

}  // namespace app
