#include "app/engine/mp3_drop_target.h"

#include <shellapi.h>

#include "app/debug_log.h"
#include "app/engine/drop_collector.h"
#include "app/engine/drop_collector_host_win32.h"

namespace app::engine {
namespace {

// The data object's CF_HDROP medium, released on every way out.
class HdropMedium {
 public:
  explicit HdropMedium(IDataObject* data) {
    if (!data) return;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    held_ = SUCCEEDED(data->GetData(&format, &medium_)) && medium_.tymed == TYMED_HGLOBAL && medium_.hGlobal;
  }
  ~HdropMedium() {
    if (held_) ::ReleaseStgMedium(&medium_);
  }
  HdropMedium(const HdropMedium&) = delete;
  HdropMedium& operator=(const HdropMedium&) = delete;

  HDROP drop() const { return held_ ? static_cast<HDROP>(medium_.hGlobal) : nullptr; }

 private:
  STGMEDIUM medium_{};
  bool held_ = false;
};

// The messages the drop lets run right after the progress window appears.
constexpr int kMessagesAtStart = 3;

}  // namespace

CMp3DropTarget::CMp3DropTarget(DropHost& host, JobLists& lists, TransferFlags& flags)
    : host_(host), lists_(lists), flags_(flags) {}

HRESULT STDMETHODCALLTYPE CMp3DropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CMp3DropTarget::AddRef() { return ++refs_; }

ULONG STDMETHODCALLTYPE CMp3DropTarget::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

bool CMp3DropTarget::OffersFiles(IDataObject* data) {
  if (!data) return false;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data->QueryGetData(&format) == S_OK;
}

bool CMp3DropTarget::ReadDroppedNames(IDataObject* data, std::vector<std::u16string>& names) {
  names.clear();
  HdropMedium medium(data);
  if (!medium.drop()) return false;
  const UINT count = ::DragQueryFileW(medium.drop(), 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(medium.drop(), i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    const UINT copied = ::DragQueryFileW(medium.drop(), i, name.data(), length + 1);
    name.resize(copied);
    names.emplace_back(name.begin(), name.end());
  }
  return true;
}

bool CMp3DropTarget::InsideList(POINT screen, POINT& client) const {
  HWND list = host_.ListWindow();
  client = screen;
  if (!list || !::ScreenToClient(list, &client)) return false;
  RECT area{};
  ::GetClientRect(list, &area);
  return ::PtInRect(&area, client) != FALSE;
}

DWORD CMp3DropTarget::OnDragEnter(IDataObject* data, DWORD keyState, POINT point) {
  offersFiles_ = OffersFiles(data);
  const DWORD effect = offersFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  if (host_.ProgressWindow().isVisible()) return effect;
  POINT client{};
  InsideList(point, client);
  LogText("\nCMp3DropTarget::OnDragEnter");
  host_.TrackList().BeginExternalDrag();
  return effect;
}

DWORD CMp3DropTarget::OnDragOver(IDataObject* data, DWORD keyState, POINT point) {
  if (host_.IsTransferRunning() || host_.ProgressWindow().isVisible()) return DROPEFFECT_NONE;
  POINT client{};
  if (!InsideList(point, client)) return DROPEFFECT_NONE;
  DebugLog("\nOnDragOver 1, point.x=%d, point.y = %d", static_cast<int>(client.x),
           static_cast<int>(client.y));
  host_.TrackList().ExternalDragOver(client);
  const bool files = data ? OffersFiles(data) : offersFiles_;
  return files ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

void CMp3DropTarget::OnDragLeave() {
  host_.TrackList().EndExternalDrag();
  if (HWND list = host_.ListWindow()) ::InvalidateRect(list, nullptr, TRUE);
}

bool CMp3DropTarget::OnDrop(IDataObject* data, DWORD effect, POINT point) {
  treelist::CTrackListCtrl& list = host_.TrackList();
  if (host_.IsTransferRunning()) {
    list.EndExternalDrag();
    return true;
  }
  POINT client{};
  if (!InsideList(point, client)) {
    // The list must not stay in its drag mode after a drop elsewhere.
    list.EndExternalDrag();
    return false;
  }
  if (host_.ProgressWindow().isVisible()) {
    list.EndExternalDrag();
    return true;
  }

  // The row under the last drag position decides the album; taken before
  // messages run, which could move the list's marker.
  const treelist::DropTarget target = list.EndExternalDrag();
  list.SetDropPositionFromTarget(target);

  flags_.cancel.store(0);
  lists_.ClearAll();
  host_.PrepareForTransfer();
  host_.ProgressWindow().DrawPicture(1);
  if (HWND progress = host_.ProgressWindow().hwnd()) ::UpdateWindow(progress);
  PumpPendingMessages(kMessagesAtStart);
  LogText("\nStartTransferDlg");
  if (HWND listWindow = host_.ListWindow()) ::InvalidateRect(listWindow, nullptr, TRUE);
  ReadHdropData(data);
  return true;
}

int CMp3DropTarget::ReadHdropData(IDataObject* data) {
  std::vector<std::u16string> names;
  if (!ReadDroppedNames(data, names)) {
    LogText("\nReadHdropData");
    return 0;
  }
  CDropCollectorHost collectorHost(host_);
  DropCollector collector(collectorHost, lists_, flags_);
  return collector.ReadHdropData(names);
}

HRESULT STDMETHODCALLTYPE CMp3DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                    DWORD* effect) {
  if (!effect) return E_POINTER;
  try {
    *effect = OnDragEnter(data, keyState, POINT{point.x, point.y});
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CMp3DropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_POINTER;
  try {
    *effect = OnDragOver(nullptr, keyState, POINT{point.x, point.y});
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CMp3DropTarget::DragLeave() {
  try {
    OnDragLeave();
  } catch (...) {
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CMp3DropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point,
                                               DWORD* effect) {
  if (!effect) return E_POINTER;
  // Keep ourselves alive if the window revokes us while the drop runs.
  AddRef();
  bool handled = false;
  try {
    handled = OnDrop(data, *effect, POINT{point.x, point.y});
  } catch (...) {
    DebugLog("\nCMp3DropTarget::Drop: the drop ended by an exception");
    handled = false;
  }
  *effect = handled ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  Release();
  return S_OK;
}

}  // namespace app::engine
