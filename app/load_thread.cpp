#include "app/load_thread.h"

#include "app/debug_log.h"
#include "app/listing_texts.h"
#include "mp3/tag_code_page.h"

namespace app {

Listing ReadListing(device::CIPACWrap& device, uint32_t tagCodePage) {
  Listing listing;
  uint32_t count = 0;
  listing.albumsResult = device.EnumAlbums(count, listing.albums);
  if (FAILED(listing.albumsResult)) {
    listing.albums.clear();
    return listing;
  }
  listing.tree.reserve(listing.albums.size());
  for (const device::AlbumRecord& album : listing.albums) {
    treelist::LoadedAlbum node = ToLoadedAlbum(album);
    std::vector<device::TrackRecord> tracks;
    uint32_t trackCount = 0;
    const HRESULT h = device.EnumTracks(album.eid, trackCount, &tracks);
    if (FAILED(h)) {
      DebugLog("\nLoadThreadProc: the tracks of album %lu cannot be listed (0x%08lX)",
               static_cast<unsigned long>(album.eid), static_cast<unsigned long>(h));
      ++listing.unreadableAlbums;
    } else {
      node.tracks.reserve(tracks.size());
      for (const device::TrackRecord& track : tracks)
        node.tracks.push_back(ToLoadedTrack(track, tagCodePage));
    }
    listing.tree.push_back(std::move(node));
  }
  return listing;
}

bool CLoadThread::Start(HWND mainWindow, UINT readyMessage, device::CIPACWrap& device,
                        const CNamedSemaphore& semaphore) {
  if (IsRunning()) return false;
  Join();
  mainWindow_ = mainWindow;
  readyMessage_ = readyMessage;
  device_ = &device;
  semaphore_ = &semaphore;
  thread_.reset(::CreateThread(nullptr, 0, &ThreadProc, this, 0, nullptr));
  return thread_.valid();
}

std::optional<Listing> CLoadThread::TakeListing() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Listing> out;
  out.swap(ready_);
  return out;
}

void CLoadThread::Join() {
  if (!thread_) return;
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

bool CLoadThread::IsRunning() const {
  return thread_ && ::WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI CLoadThread::ThreadProc(void* parameter) {
  auto& self = *static_cast<CLoadThread*>(parameter);
  Listing listing;
  {
    CSemaphoreHold hold(*self.semaphore_);
    DebugLog("\nLoadThreadProc: start");
    listing = ReadListing(*self.device_, mp3::TagCodePage());
    DebugLog("\nLoadThreadProc: %d albums", static_cast<int>(listing.albums.size()));
  }
  {
    std::lock_guard<std::mutex> lock(self.mutex_);
    self.ready_ = std::move(listing);
  }
  ::PostMessageW(self.mainWindow_, self.readyMessage_, 0, 0);
  return 0;
}

}  // namespace app
