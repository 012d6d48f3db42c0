#include "device/ipac_wrap.h"

#include <new>

#include "common/debug_log.h"
#include "device/property_block.h"
#include "mp3/validity_check.h"
#include "platform/cost_meter.h"
#include "win32/task_memory.h"

namespace device {

namespace {

std::u16string OrDefault(std::u16string text, const char16_t* fallback) {
  return text.empty() ? std::u16string(fallback) : text;
}

}  // namespace

// Starts a transaction on construction and ends it on every way out.
class CIPACWrap::TransactionScope {
 public:
  explicit TransactionScope(CIPACWrap& wrap) : m_wrap(wrap), m_started(wrap.StartTransaction()) {}
  ~TransactionScope() { end(S_OK); }
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;

  HRESULT started() const { return m_started; }
  // Ends the transaction now; the operation's result, unless it succeeded
  // and the end failed.
  HRESULT end(HRESULT result) {
    if (m_ended || FAILED(m_started)) return result;
    m_ended = true;
    const HRESULT ended = m_wrap.EndTransaction();
    return SUCCEEDED(result) && FAILED(ended) ? ended : result;
  }

 private:
  CIPACWrap& m_wrap;
  HRESULT m_started;
  bool m_ended = false;
};

CIPACWrap::CIPACWrap() : m_libraryPath(DefaultPacLibraryPath()) {}

CIPACWrap::~CIPACWrap() = default;

bool CIPACWrap::StopRequested() const {
  return CancelRequested() || !DeviceConnected();
}

HRESULT CIPACWrap::Initialize(HWND window, const wchar_t* folder1, const wchar_t* folder2) {
  m_hNotifyWindow = window;
  m_defaultEvents.setWindow(window);
  if (!m_binding.pac) {
    const HRESULT bound = BindPacLibrary(m_libraryPath, m_binding);
    if (FAILED(bound)) {
      DebugLog("\nCIPACWrap::Initialize: binding failed (0x%08lX)", static_cast<unsigned long>(bound));
      m_pEvents->ShowMessage(kMessageLibraryUnavailable);
      return E_FAIL;
    }
  }
  const HRESULT initialized = m_binding.pac->Initialize(kInitializeMode, folder1, folder2);
  const std::u16string name = GetDeviceList();
  m_deviceName = win::UniqueBstr::FromText(name);
  if (name.empty()) return E_FAIL;
  // The transfer stops while the flag is 0, so it is set from the first
  // poll here rather than left for the connectivity thread's first round.
  ULONG connected = 0;
  if (SUCCEEDED(initialized) && SUCCEEDED(m_binding.pac->IsDeviceConnected(m_deviceName.get(), &connected))) {
    m_bIsConnected.store(connected ? 1 : 0);
  }
  return initialized;
}

std::u16string CIPACWrap::GetDeviceList() {
  if (!m_binding.pac) return std::u16string();
  ULONG count = 0;
  win::TaskMemory<BSTR> names;
  const HRESULT h = m_binding.pac->GetDeviceList(&count, names.put());
  std::u16string first;
  if (SUCCEEDED(h)) {
    DebugLog("GetDeviceList succeeded (#devices=%d)", static_cast<int>(count));
    if (count > 0 && names && names[0]) {
      first.assign(reinterpret_cast<const char16_t*>(names[0]), ::SysStringLen(names[0]));
    }
  }
  for (ULONG i = 0; names && i < count; ++i) ::SysFreeString(names[i]);
  return first;
}

uint32_t CIPACWrap::CheckConnectivity() {
  if (!m_binding.pac) {
    m_bIsConnected.store(0);
    return 0;
  }
  ULONG count = 0;
  win::TaskMemory<BSTR> names;
  HRESULT h = m_binding.pac->GetDeviceList(&count, names.put());
  if (FAILED(h) || count == 0 || !names) {
    m_bIsConnected.store(0);
    return 0;
  }
  ULONG connected = 0;
  h = m_binding.pac->IsDeviceConnected(names[0], &connected);
  for (ULONG i = 0; i < count; ++i) ::SysFreeString(names[i]);
  const uint32_t flag = SUCCEEDED(h) ? connected : 0;
  m_bIsConnected.store(flag ? 1 : 0);
  return flag;
}

HRESULT CIPACWrap::StartTransaction() {
  if (!m_binding.pac) return E_UNEXPECTED;
  const HRESULT h = m_binding.pac->StartTransaction(m_deviceName.get());
  if (SUCCEEDED(h)) m_dwTransactionThread.store(::GetCurrentThreadId());
  return h;
}

HRESULT CIPACWrap::EndTransaction() {
  if (!m_binding.pac || m_dwTransactionThread.load() != ::GetCurrentThreadId()) {
    DebugLog("\nCIPACWrap::EndTransaction without a transaction");
    return S_FALSE;
  }
  // The library ends the transaction whatever it answers.
  m_dwTransactionThread.store(0);
  return m_binding.pac->EndTransaction(m_deviceName.get());
}

bool CIPACWrap::InTransaction() const { return m_dwTransactionThread.load() == ::GetCurrentThreadId(); }

HRESULT CIPACWrap::GetMediumCapacity(int64_t* capacity, int64_t* freeBytes, int64_t* third) {
  if (!capacity || !freeBytes) return E_POINTER;
  DebugLog("\nGetMediumCapacity");
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  LONGLONG c = 0, f = 0, x = 0;
  HRESULT h = m_binding.pac->GetMediumCapacity(&x, &f, &c);
  if (SUCCEEDED(h)) {
    *capacity = c;
    *freeBytes = f;
    if (third) *third = x;
  }
  DebugLog("\nGetMediumCapacity 1");
  return t.end(h);
}

HRESULT CIPACWrap::ChildIds(uint32_t parent, uint32_t count, win::TaskMemory<ULONG>& ids) {
  std::unique_ptr<ULONG[]> positions(new (std::nothrow) ULONG[count ? count : 1]);
  if (!positions) return E_OUTOFMEMORY;
  for (uint32_t i = 0; i < count; ++i) positions[i] = i + 1;
  const HRESULT h = m_binding.pac->GetChildIds(m_deviceName.get(), parent, count, positions.get(), ids.put());
  if (SUCCEEDED(h) && count && !ids) return E_POINTER;
  return h;
}

HRESULT CIPACWrap::ReadAlbum(uint32_t eid, AlbumRecord& record) {
  const ULONG ids[] = {kPropName, kPropPlayTime};
  PropertyBlock block;
  const HRESULT h = m_binding.pac->GetProperties(m_deviceName.get(), eid, 2, ids, block.put(2));
  if (FAILED(h) || !block.get()) return FAILED(h) ? h : E_POINTER;
  record.eid = eid;
  record.name = OrDefault(TextOf(block.value(0)), kUntitledAlbum);
  record.playTimeMs = PlayTimeOf(block.value(1));
  return S_OK;
}

HRESULT CIPACWrap::EnumAlbums(uint32_t& count, std::vector<AlbumRecord>& albums) {
  albums.clear();
  count = 0;
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  BSTR name = m_deviceName.get();

  ULONG media = 0;
  win::TaskMemory<ULONG> kinds, second;
  HRESULT h = m_binding.pac->EnumMediumIds(name, &media, kinds.put(), second.put());
  if (FAILED(h)) return t.end(h);
  bool usable = false;
  for (ULONG i = 0; kinds && i < media; ++i) usable = usable || kinds[i] == kUsableMediumKind;
  if (!usable) return t.end(S_FALSE);

  ULONG root = 0, children = 0;
  if (h = m_binding.pac->GetRootFolder(name, kRootFolderKind, &root); FAILED(h)) return t.end(h);
  if (h = m_binding.pac->GetChildCount(name, root, &children); FAILED(h)) return t.end(h);
  if (children == 0) return t.end(S_OK);
  win::TaskMemory<ULONG> ids;
  if (h = ChildIds(root, children, ids); FAILED(h)) return t.end(h);
  for (ULONG i = 0; i < children; ++i) {
    AlbumRecord record;
    // An album whose properties cannot be read is left out of the list.
    if (FAILED(ReadAlbum(ids[i], record))) {
      DebugLog("\nEnumAlbums: album %lu skipped", static_cast<unsigned long>(ids[i]));
      continue;
    }
    albums.push_back(std::move(record));
  }
  count = static_cast<uint32_t>(albums.size());
  return t.end(S_OK);
}

HRESULT CIPACWrap::ReadTrack(uint32_t eid, TrackRecord& record) {
  const ULONG ids[] = {kPropName, kPropTrackNumber, kPropAlbumText, kPropArtist, kPropPlayTime, kPropGenre};
  PropertyBlock block;
  const HRESULT h = m_binding.pac->GetProperties(m_deviceName.get(), eid, 6, ids, block.put(6));
  if (FAILED(h) || !block.get()) return FAILED(h) ? h : E_POINTER;
  record.eid = eid;
  record.title = OrDefault(TextOf(block.value(0)), kUnknownText);
  record.trackNumber = UnsignedOf(block.value(1));
  record.album = OrDefault(TextOf(block.value(2)), kUnknownText);
  record.artist = OrDefault(TextOf(block.value(3)), kUnknownText);
  record.playTimeMs = PlayTimeOf(block.value(4));
  record.genre = OrDefault(TextOf(block.value(5)), kUnknownText);
  return S_OK;
}

HRESULT CIPACWrap::EnumTracks(uint32_t albumEid, uint32_t& count, std::vector<TrackRecord>* tracks) {
  count = 0;
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  ULONG children = 0;
  HRESULT h = m_binding.pac->GetChildCount(m_deviceName.get(), albumEid, &children);
  if (FAILED(h)) return t.end(h);
  if (!tracks) {
    count = children;
    return t.end(S_OK);
  }
  if (children == 0) return t.end(S_OK);
  win::TaskMemory<ULONG> ids;
  if (h = ChildIds(albumEid, children, ids); FAILED(h)) return t.end(h);
  for (ULONG i = 0; i < children; ++i) {
    TrackRecord record;
    if (FAILED(ReadTrack(ids[i], record))) {
      DebugLog("\nEnumTracks: track %lu skipped", static_cast<unsigned long>(ids[i]));
      continue;
    }
    m_trackNumbers.reserve(record.trackNumber);
    tracks->push_back(std::move(record));
    ++count;
  }
  return t.end(S_OK);
}

HRESULT CIPACWrap::GetTrackIdAt(uint32_t parentEid, uint32_t index, uint32_t& eid) {
  eid = 0;
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  ULONG children = 0;
  HRESULT h = m_binding.pac->GetChildCount(m_deviceName.get(), parentEid, &children);
  if (FAILED(h)) return t.end(h);
  if (index >= children) return t.end(E_FAIL);
  win::TaskMemory<ULONG> ids;
  if (h = ChildIds(parentEid, children, ids); FAILED(h)) return t.end(h);
  eid = ids[index];
  return t.end(S_OK);
}

HRESULT CIPACWrap::GetTrackRecord(uint32_t eid, TrackRecord& record) {
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  return t.end(ReadTrack(eid, record));
}

HRESULT CIPACWrap::CreateAlbum(const std::u16string& name, uint32_t& eid) {
  eid = 0;
  if (!m_binding.pac) return E_UNEXPECTED;
  BSTR device = m_deviceName.get();
  ULONG root = 0, id = 0;
  HRESULT h = m_binding.pac->GetRootFolder(device, kRootFolderKind, &root);
  if (FAILED(h)) return h;
  if (h = m_binding.pac->CreateObject(device, kCreateFolderKind, root, kCreateFolderKind, &id); FAILED(h))
    return h;
  eid = id;
  PropertyBlock block;
  if (h = block.allocate(1); FAILED(h)) return h;
  if (h = block.setText(0, kPropName, name); FAILED(h)) return h;
  return m_binding.pac->SetProperties(device, id, 1, block.get());
}

HRESULT CIPACWrap::WaitForOperation(DWORD pollMs) {
  BSTR device = m_deviceName.get();
  ULONG operation = 0;
  HRESULT h = m_binding.pac->GetCurrentOperation(device, &operation);
  if (FAILED(h)) return h;
  for (;;) {
    LONGLONG current = 0, total = 0;
    // A failing poll ends the wait: the operation's state cannot be known.
    if (h = m_binding.pac->GetOperationProgress(device, operation, &current, &total); FAILED(h)) return h;
    if (current >= total) return h;
    ::Sleep(pollMs);
  }
}

HRESULT CIPACWrap::WaitForCurrentOperation() {
  if (!m_binding.pac) return E_UNEXPECTED;
  const HRESULT h = WaitForOperation(100);
  return FAILED(h) ? h : S_OK;
}

HRESULT CIPACWrap::RemoveObjects(const std::vector<uint32_t>& eids) {
  BSTR device = m_deviceName.get();
  for (uint32_t eid : eids) {
    ULONG token = 0;
    HRESULT h = m_binding.pac->ResolveObject(device, eid, &token);
    if (FAILED(h)) return h;
    if (h = m_binding.pac->RemoveObject(device, token); FAILED(h)) return h;
  }
  return S_OK;
}

HRESULT CIPACWrap::DeleteTracks(const std::vector<uint32_t>& eids) {
  if (eids.empty()) return S_OK;
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  HRESULT h = RemoveObjects(eids);
  if (FAILED(h)) return t.end(h);
  h = WaitForOperation(50);
  return t.end(FAILED(h) ? h : S_OK);
}

HRESULT CIPACWrap::DeleteAlbums(const std::vector<uint32_t>& eids) {
  if (eids.empty()) return S_OK;
  BSTR device = m_deviceName.get();
  {
    // First the albums' tracks...
    TransactionScope t(*this);
    if (FAILED(t.started())) return t.started();
    for (uint32_t album : eids) {
      ULONG children = 0;
      HRESULT h = m_binding.pac->GetChildCount(device, album, &children);
      if (FAILED(h)) return t.end(h);
      if (children == 0) continue;
      win::TaskMemory<ULONG> ids;
      if (h = ChildIds(album, children, ids); FAILED(h)) return t.end(h);
      if (h = RemoveObjects(std::vector<uint32_t>(ids.get(), ids.get() + children)); FAILED(h))
        return t.end(h);
    }
    HRESULT h = WaitForOperation(50);
    if (h = t.end(FAILED(h) ? h : S_OK); FAILED(h)) return h;
  }
  // ...then the empty albums.
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  std::vector<ULONG> ids(eids.begin(), eids.end());
  win::TaskMemory<HRESULT> results;
  HRESULT h = m_binding.pac->DeleteFolders(device, static_cast<ULONG>(ids.size()), ids.data(), results.put());
  if (FAILED(h)) return t.end(h);
  // An album the player kept is reported, so the caller lists again
  // instead of believing it gone.
  HRESULT refused = S_OK;
  for (size_t i = 0; results && i < ids.size(); ++i) {
    if (FAILED(results[i])) {
      DebugLog("\nDeleteAlbums: album %lu not removed (0x%08lX)", static_cast<unsigned long>(ids[i]),
               static_cast<unsigned long>(results[i]));
      if (SUCCEEDED(refused)) refused = results[i];
    }
  }
  h = WaitForOperation(50);
  return t.end(FAILED(h) ? h : refused);
}

HRESULT CIPACWrap::MoveItems(uint32_t referenceEid, uint32_t placement, const std::vector<uint32_t>& eids,
                             std::vector<uint32_t>* refusedItems) {
  if (refusedItems) refusedItems->clear();
  if (eids.empty()) return S_OK;
  TransactionScope t(*this);
  if (FAILED(t.started())) return t.started();
  std::vector<ULONG> ids(eids.begin(), eids.end());
  win::TaskMemory<HRESULT> results;
  HRESULT h = m_binding.pac->MoveObjects(m_deviceName.get(), referenceEid, placement,
                                         static_cast<ULONG>(ids.size()), ids.data(), results.put());
  if (FAILED(h)) return t.end(h);
  HRESULT refused = S_OK;
  for (size_t i = 0; results && i < ids.size(); ++i) {
    if (FAILED(results[i])) {
      DebugLog("\nAn error occurred when moving the #%d item.", static_cast<int>(i));
      if (SUCCEEDED(refused)) refused = results[i];
      if (refusedItems) refusedItems->push_back(eids[i]);
    }
  }
  h = WaitForOperation(50);
  return t.end(FAILED(h) ? h : refused);
}

bool CIPACWrap::CheckValidity(const sys::Path& path, mp3::TrackInfo& info, mp3::ValidityReport* report) {
  costs::Scope meter(costs::Area::kFileChecks);
  return mp3::CheckValidity(path, info, report);
}

}  // namespace device
