// CIPACWrap: the track manager's only door to the player. It owns the
// device-access library's IPAC object, the player's device name, the set of
// track numbers in use and the transfer broker, and turns the library's
// identifier-and-property interface into what the main window, the tree
// list and the transfer threads need: connect, poll the connection, read
// capacity, list albums and tracks, create albums, move and erase items,
// check MP3 files and transfer tracks.
//
// A bracketed operation starts a transaction and ends it on every way out;
// its result is its last library call's, or the end's failure when the
// operation itself succeeded. The wrapper remembers which thread holds the
// transaction it started, so an end without an open transaction never
// reaches the library.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "container/fringe_lock.h"
#include "device/device_records.h"
#include "device/ipac.h"
#include "device/library_binding.h"
#include "device/rv3_broker.h"
#include "device/track_number_map.h"
#include "device/transfer_host.h"
#include "device/window_events.h"
#include "device/wrap_events.h"
#include "mp3/track_info.h"
#include "mp3/validity_check.h"
#include "platform/system.h"
#include "win32/bstr.h"
#include "win32/task_memory.h"

namespace device {

class CIPACWrap : public KVXFringeLock, private ITransferHost {
 public:
  CIPACWrap();
  ~CIPACWrap() override;
  CIPACWrap(const CIPACWrap&) = delete;
  CIPACWrap& operator=(const CIPACWrap&) = delete;

  // ---- Set-up, before Initialize ------------------------------------------
  // Where the library is loaded from (DefaultPacLibraryPath() unless set).
  void SetLibraryPath(const sys::Path& path) { m_libraryPath = path; }
  // Receiver of progress and messages; null returns to the default, which
  // posts to the notification window and shows message boxes.
  void SetEvents(IWrapEvents* events) { m_pEvents = events ? events : &m_defaultEvents; }
  CWindowEvents& DefaultEvents() { return m_defaultEvents; }
  // The shared cancel flag of the drop, read at every stop check.
  void SetCancelQuery(std::function<bool()> cancelRequested) {
    m_cancelRequested = std::move(cancelRequested);
  }

  // ---- Connection ----------------------------------------------------------
  // Binds the library (message 18435 and E_FAIL when it cannot be bound),
  // calls its Initialize (1, folder1, folder2) and takes the first device
  // name. E_FAIL without a device; else the library Initialize's result.
  HRESULT Initialize(HWND window, const wchar_t* folder1, const wchar_t* folder2);
  // The first device name, or empty; frees the library's list.
  std::u16string GetDeviceList();
  // Polls the player: 0 when it is gone, else the library's flag. Stores
  // the answer in m_bIsConnected. Not bracketed.
  uint32_t CheckConnectivity();
  bool IsConnected() const { return m_bIsConnected.load() != 0; }

  // ---- Transactions ---------------------------------------------------------
  HRESULT StartTransaction();
  // S_FALSE, without a library call, when this thread has no transaction.
  HRESULT EndTransaction() override;
  bool InTransaction() const;

  // ---- Listing and editing (bracketed unless said) ---------------------------
  HRESULT GetMediumCapacity(int64_t* capacity, int64_t* freeBytes, int64_t* third);
  // S_FALSE with no albums when the player has no usable medium. count is
  // the number of records returned.
  HRESULT EnumAlbums(uint32_t& count, std::vector<AlbumRecord>& albums);
  // Without a vector only the album's track count; with one, the records
  // are appended and count is how many.
  HRESULT EnumTracks(uint32_t albumEid, uint32_t& count, std::vector<TrackRecord>* tracks);
  // E_FAIL when index is not below the album's track count.
  HRESULT GetTrackIdAt(uint32_t parentEid, uint32_t index, uint32_t& eid);
  // One track's record, as EnumTracks reads it.
  HRESULT GetTrackRecord(uint32_t eid, TrackRecord& record);
  // Not bracketed: the caller brackets album creation.
  HRESULT CreateAlbum(const std::u16string& name, uint32_t& eid);
  // Not bracketed: waits (100 ms polls) until the current operation ends.
  HRESULT WaitForCurrentOperation();
  HRESULT DeleteTracks(const std::vector<uint32_t>& eids);
  // Empties the albums (one transaction), then removes them (another).
  HRESULT DeleteAlbums(const std::vector<uint32_t>& eids);
  // placement: kPlaceBefore, kPlaceAfter or kPlaceInto the reference. One
  // library call with every item, in one transaction; refused (when given)
  // receives the items the player refused, in order.
  HRESULT MoveItems(uint32_t referenceEid, uint32_t placement, const std::vector<uint32_t>& eids,
                    std::vector<uint32_t>* refused = nullptr);

  // ---- Tracks ---------------------------------------------------------------
  // The analyser's validity check and track information (title from the
  // file name when the tags have none). report, when given, receives why a
  // refused file was refused.
  bool CheckValidity(const sys::Path& path, mp3::TrackInfo& info, mp3::ValidityReport* report = nullptr);
  uint32_t AllocateTrackNumber() override { return m_trackNumbers.allocate(); }
  bool IsTrackNumberInUse(uint32_t n) const { return m_trackNumbers.inUse(n); }
  // Writes the job's file as a new track into the album, inside the
  // caller's transaction: 0 success (the caller ends the transaction); 1
  // cancelled or device gone; E_FAIL when the export cannot start; else the
  // failing call's result. Every way out but success ends the transaction.
  // On success *newTrackEid (when given) is the new track's EID, as the
  // library wrote it into the export block; else 0.
  HRESULT Transfer(const mp3::TrackInfo& job, uint32_t albumEid, uint32_t placement,
                   uint32_t* newTrackEid = nullptr);
  // A coming Transfer will read source: it is opened ahead, while the
  // transfers before it are written.
  void ExpectSource(const sys::Path& source) { m_broker.Expect(source); }
  // Lets go of every source opened ahead and not transferred.
  void ForgetExpectedSources() { m_broker.ForgetExpected(); }

  // The bound library (null before a successful binding), for diagnostics.
  IPAC* Library() const { return m_binding.pac.get(); }
  const std::u16string DeviceName() const { return m_deviceName.text(); }

 private:
  class TransactionScope;

  // ITransferHost: what a transfer run uses of the wrapper.
  IPAC& TransferLibrary() override { return *m_binding.pac.get(); }
  BSTR TransferDevice() const override { return m_deviceName.get(); }
  CRv3Broker& TransferBroker() override { return m_broker; }
  IWrapEvents& TransferEvents() override { return *m_pEvents; }
  bool StopRequested() const override;
  bool CancelRequested() const override { return m_cancelRequested && m_cancelRequested(); }
  bool DeviceConnected() const override { return m_bIsConnected.load() != 0; }
  // Polls the current operation until current reaches total.
  HRESULT WaitForOperation(DWORD pollMs);
  HRESULT ReadAlbum(uint32_t eid, AlbumRecord& record);
  HRESULT ReadTrack(uint32_t eid, TrackRecord& record);
  HRESULT ChildIds(uint32_t parent, uint32_t count, win::TaskMemory<ULONG>& ids);
  HRESULT RemoveObjects(const std::vector<uint32_t>& eids);

  TrackNumberMap m_trackNumbers;
  PacBinding m_binding;
  win::UniqueBstr m_deviceName;
  CRv3Broker m_broker;
  HWND m_hNotifyWindow = nullptr;
  std::atomic<int32_t> m_bIsConnected{0};
  int32_t m_nReserved = 0;

  sys::Path m_libraryPath;
  CWindowEvents m_defaultEvents;
  IWrapEvents* m_pEvents = &m_defaultEvents;
  std::function<bool()> m_cancelRequested;
  std::atomic<DWORD> m_dwTransactionThread{0};  // 0: no transaction of ours
};

}  // namespace device
