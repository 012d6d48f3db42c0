#include "winui/dialog.h"

#include <exception>

#include "winui/application.h"
#include "winui/controls.h"
#include "winui/error_report.h"

namespace winui {

namespace {

// Marks a window as ours and finds its object. A window property rather than
// DWLP_USER, so FromHandle can be asked about any window (a message box, a
// dialog of another framework) without mistaking foreign data for an object.
constexpr wchar_t kObjectProperty[] = L"winui.CDialog";

// Messages whose dialog-procedure result is returned directly instead of
// through DWLP_MSGRESULT (as the system documents for dialog procedures).
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
      return true;
    default:
      return false;
  }
}

}  // namespace

CDialog::CDialog(UINT templateId, HMODULE module) : templateId_(templateId), module_(module) {}

CDialog::CDialog(const DLGTEMPLATE* inMemoryTemplate) : memoryTemplate_(inMemoryTemplate) {}

CDialog::~CDialog() {
  // A window that outlives its object would dispatch into freed memory.
  if (hwnd_) ::DestroyWindow(hwnd_);
}

CDialog* CDialog::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<CDialog*>(::GetPropW(window, kObjectProperty));
}

HWND CDialog::createWindow(HWND owner) {
  ended_ = false;
  result_ = -1;
  auto param = reinterpret_cast<LPARAM>(this);
  if (memoryTemplate_)
    return ::CreateDialogIndirectParamW(ResourceModule(), memoryTemplate_, owner, &CDialog::DialogProc,
                                        param);
  HMODULE module = module_ ? module_ : ResourceModule();
  return ::CreateDialogParamW(module, MAKEINTRESOURCEW(templateId_), owner, &CDialog::DialogProc, param);
}

bool CDialog::Create(HWND owner) {
  if (hwnd_) return false;
  modal_ = false;
  HWND window = createWindow(owner);
  if (!window) return false;
  if (CApplication* app = CApplication::Instance(); app && hwnd_) app->addModeless(this);
  return hwnd_ != nullptr;
}

INT_PTR CDialog::DoModal(HWND owner) {
  if (hwnd_) return -1;
  HWND topOwner = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  modal_ = true;
  HWND window = createWindow(topOwner);
  if (!window || !hwnd_) {
    modal_ = false;
    return ended_ ? result_ : -1;
  }

  const bool disabledOwner = topOwner && ::IsWindowEnabled(topOwner);
  if (disabledOwner) ::EnableWindow(topOwner, FALSE);
  if (!ended_ && !::IsWindowVisible(hwnd_)) ::ShowWindow(hwnd_, SW_SHOWNORMAL);

  bool quit = false;
  WPARAM quitCode = 0;
  while (!ended_ && hwnd_) {
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      quit = true;
      quitCode = msg.wParam;
      break;
    }
    bool consumed = false;
    try {
      consumed = PreTranslateMessage(msg);
      if (!consumed)
        if (CApplication* app = CApplication::Instance()) consumed = app->PreTranslateMessage(msg);
    } catch (const std::exception& e) {
      ReportError("modal loop", e.what());
      consumed = true;
    } catch (...) {
      ReportError("modal loop", "unknown exception");
      consumed = true;
    }
    if (consumed) continue;
    if (hwnd_ && ::IsDialogMessageW(hwnd_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  // The owner comes back before the dialog goes, so that the system hands
  // the activation back to it rather than to some other program.
  if (disabledOwner) ::EnableWindow(topOwner, TRUE);
  INT_PTR result = ended_ ? result_ : -1;
  if (quit) result = IDCANCEL;
  if (hwnd_) {
    if (topOwner && ::GetActiveWindow() == hwnd_) ::SetActiveWindow(topOwner);
    ::DestroyWindow(hwnd_);
  }
  modal_ = false;
  if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
  return result;
}

void CDialog::EndDialog(INT_PTR result) {
  if (modal_) {
    result_ = result;
    ended_ = true;
    // Wakes the loop, which may be waiting in GetMessage.
    if (hwnd_) ::PostMessageW(hwnd_, WM_NULL, 0, 0);
    return;
  }
  result_ = result;
  ended_ = true;
  Destroy();
}

void CDialog::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void CDialog::attach(HWND window) {
  hwnd_ = window;
  ::SetPropW(window, kObjectProperty, this);
}

void CDialog::detach() {
  if (!hwnd_) return;
  ::RemovePropW(hwnd_, kObjectProperty);
  if (!modal_)
    if (CApplication* app = CApplication::Instance()) app->removeModeless(this);
  hwnd_ = nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    if (!self) return TRUE;
    self->attach(window);
  } else {
    self = FromHandle(window);
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) get the system's handling.
    if (!self) return FALSE;
  }
  try {
    return self->dispatch(message, wParam, lParam);
  } catch (const std::exception& e) {
    ReportError("dialog procedure", e.what());
  } catch (...) {
    ReportError("dialog procedure", "unknown exception");
  }
  // A dialog whose initialisation failed half-way is not left on screen.
  if (message == WM_INITDIALOG) {
    self->EndDialog(-1);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    detach();
    return FALSE;
  }

  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, result)) {
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }

  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return FALSE;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam, lParam)) {
        ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      return OnClose() ? TRUE : FALSE;
    case WM_HELP:
      OnHelp();
      ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CDialog::PreTranslateMessage(MSG&) { return false; }

bool CDialog::OnCommand(UINT id, UINT notifyCode, HWND control) {
  switch (id) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
    case kHelpCommandId:
      OnHelp();
      return true;
    default:
      return false;
  }
}

void CDialog::OnHelp() {
  if (CApplication* app = CApplication::Instance()) app->OnHelp(hwnd_);
}

void CDialog::runHelpCommand() {
  try {
    OnHelp();
  } catch (const std::exception& e) {
    ReportError("help command", e.what());
  } catch (...) {
    ReportError("help command", "unknown exception");
  }
}

HWND CDialog::item(int id) const { return hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr; }

std::wstring CDialog::itemText(int id) const { return TextOf(item(id)); }

void CDialog::setItemText(int id, const std::wstring& text) const { SetText(item(id), text); }

void CDialog::enableItem(int id, bool enable) const { Enable(item(id), enable); }

void CDialog::showItem(int id, bool show) const { Show(item(id), show); }

bool CDialog::isItemChecked(int id) const { return IsChecked(item(id)); }

void CDialog::setItemChecked(int id, bool checked) const { SetChecked(item(id), checked); }

RECT CDialog::itemRect(int id) const { return ChildRect(hwnd_, item(id)); }

std::wstring CDialog::title() const { return TextOf(hwnd_); }

void CDialog::setTitle(const std::wstring& text) const { SetText(hwnd_, text); }

bool CDialog::setTimer(UINT_PTR id, UINT milliseconds) {
  return hwnd_ && ::SetTimer(hwnd_, id, milliseconds, nullptr) != 0;
}

void CDialog::killTimer(UINT_PTR id) {
  if (hwnd_) ::KillTimer(hwnd_, id);
}

LRESULT CDialog::send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return hwnd_ ? ::SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

bool CDialog::post(UINT message, WPARAM wParam, LPARAM lParam) const {
  return hwnd_ && ::PostMessageW(hwnd_, message, wParam, lParam);
}

}  // namespace winui
