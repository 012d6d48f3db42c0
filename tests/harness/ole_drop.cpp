#include "tests/harness/ole_drop.h"

#include <commctrl.h>
#include <ole2.h>

#include <atomic>

#include "app/hdrop_data_object.h"
#include "tests/harness/list_view_reader.h"
#include "win32/com_ptr.h"

namespace probe {

namespace {

// Polls with the button held before the drop: enough for DragEnter and a
// few DragOver calls at the target point.
constexpr int kPollsBeforeDrop = 6;

class CMouseDropSource final : public IDropSource {
 public:
  CMouseDropSource(POINT point, ULONGLONG& droppedAt) : point_(point), droppedAt_(droppedAt) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD) override {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    // The drag loop reads the cursor position; keep it on the target.
    ::SetCursorPos(point_.x, point_.y);
    ::Sleep(30);
    if (++polls_ <= kPollsBeforeDrop) return S_OK;
    droppedAt_ = ::GetTickCount64();
    return DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  ~CMouseDropSource() = default;
  POINT point_;
  ULONGLONG& droppedAt_;
  int polls_ = 0;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

DropOutcome DropFiles(const std::vector<std::wstring>& paths, POINT screenPoint) {
  DropOutcome outcome;
  if (FAILED(::OleInitialize(nullptr))) return outcome;
  {
    ::SetCursorPos(screenPoint.x, screenPoint.y);
    auto data = win::ComPtr<IDataObject>::Attach(app::CreateHdropDataObject(paths));
    auto source = win::ComPtr<IDropSource>::Attach(new CMouseDropSource(screenPoint, outcome.droppedAtMs));
    if (data && source)
      outcome.result = ::DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &outcome.effect);
  }
  ::OleUninitialize();
  return outcome;
}

bool EmptyAreaOfList(HWND listView, POINT& screen) {
  RECT area{};
  ::GetClientRect(listView, &area);
  DWORD_PTR count = 0;
  ::SendMessageTimeoutW(listView, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  LONG y = (area.top + area.bottom) / 2;
  if (count > 0) {
    auto last = ListViewRowRect(listView, static_cast<int>(count) - 1);
    if (!last || last->bottom + 4 >= area.bottom) return false;
    y = (last->bottom + area.bottom) / 2;
  }
  screen = POINT{area.left + 20, y};
  ::ClientToScreen(listView, &screen);
  return true;
}

}  // namespace probe
