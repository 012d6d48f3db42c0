#include "winui/browser_host.h"

#include <exdisp.h>
#include <oleidl.h>

#include <atomic>

#include "win32/bstr.h"
#include "win32/unique_variant.h"

namespace winui {

namespace {

// The web browser control; spelled out because gcc ignores __declspec(uuid).
constexpr CLSID kWebBrowserClsid = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr DISPID kNavigateDispId = 104;
constexpr DISPID kDocumentDispId = 203;

// Another interface of the same object; empty when it has none.
template <class To, class From>
win::ComPtr<To> Query(const win::ComPtr<From>& from, REFIID iid) {
  win::ComPtr<To> to;
  if (from) from->QueryInterface(iid, to.putVoid());
  return to;
}

}  // namespace

// The container side the control talks to: client site, in-place site and
// in-place frame in one object. It only reports the parent window and the
// rectangle; menus, status text and accelerators are not offered.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  BrowserSite(HWND parent, const RECT& rect) : parent_(parent), rect_(rect) {}
  void setRect(const RECT& rect) { rect_ = rect; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
      *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
      *out = static_cast<IOleInPlaceFrame*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the site and the frame)
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = parent_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = rect_;
    *clip = rect_;
    info->cb = sizeof(OLEINPLACEFRAMEINFO);
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(parent_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT rect) override {
    if (rect) rect_ = *rect;
    return S_OK;
  }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~BrowserSite() = default;

  std::atomic<ULONG> refs_{1};
  HWND parent_;
  RECT rect_;
};

CBrowserHost::CBrowserHost() = default;

CBrowserHost::~CBrowserHost() { close(); }

HRESULT CBrowserHost::create(HWND parent, const RECT& rect) {
  close();
  if (!parent) return E_INVALIDARG;
  win::ComPtr<IOleObject> object;
  HRESULT hr =
      ::CoCreateInstance(kWebBrowserClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.putVoid());
  if (FAILED(hr)) return hr;
  if (!object) return E_NOINTERFACE;

  auto site = win::ComPtr<BrowserSite>::Attach(new BrowserSite(parent, rect));
  hr = object->SetClientSite(site.get());
  if (SUCCEEDED(hr)) {
    RECT position = rect;
    hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.get(), 0, parent, &position);
  }
  win::ComPtr<IDispatch> automation = Query<IDispatch>(object, IID_IDispatch);
  if (SUCCEEDED(hr) && !automation) hr = E_NOINTERFACE;
  if (FAILED(hr)) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    return hr;
  }
  site_ = std::move(site);
  object_ = std::move(object);
  automation_ = std::move(automation);
  return S_OK;
}

HRESULT CBrowserHost::navigate(const std::wstring& address) {
  if (!automation_) return E_UNEXPECTED;
  win::UniqueBstr url = win::UniqueBstr::FromText(address.data(), address.size());
  if (!url.get()) return E_OUTOFMEMORY;
  VARIANTARG argument;
  ::VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = url.get();  // still owned by url
  DISPPARAMS params{&argument, nullptr, 1, 0};
  win::UniqueVariant result;
  return automation_->Invoke(kNavigateDispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                             result.put(), nullptr, nullptr);
}

bool CBrowserHost::hasDocument() const {
  if (!automation_) return false;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  win::UniqueVariant result;
  HRESULT hr = automation_->Invoke(kDocumentDispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                   &none, result.put(), nullptr, nullptr);
  return SUCCEEDED(hr) && result.value().vt == VT_DISPATCH && result.value().pdispVal != nullptr;
}

void CBrowserHost::setRect(const RECT& rect) {
  if (site_) site_->setRect(rect);
  if (!object_) return;
  if (auto inPlace = Query<IOleInPlaceObject>(object_, IID_IOleInPlaceObject))
    inPlace->SetObjectRects(&rect, &rect);
}

HWND CBrowserHost::window() const {
  if (!object_) return nullptr;
  HWND window = nullptr;
  if (auto inPlace = Query<IOleInPlaceObject>(object_, IID_IOleInPlaceObject)) inPlace->GetWindow(&window);
  return window;
}

void CBrowserHost::show(bool visible) {
  if (HWND w = window()) ::ShowWindow(w, visible ? SW_SHOW : SW_HIDE);
}

void CBrowserHost::close() {
  automation_.reset();
  if (object_) {
    if (auto inPlace = Query<IOleInPlaceObject>(object_, IID_IOleInPlaceObject)) inPlace->InPlaceDeactivate();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_.reset();
  }
  site_.reset();
}

}  // namespace winui
