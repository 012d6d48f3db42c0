#include "app/help_dlg.h"

#include <cstdio>
#include <string>

#include "app/debug_log.h"
#include "app/help_dlg_res.h"
#include "app/help_setting_store.h"
#include "app/help_settings.h"
#include "app/html_text.h"
#include "app/message_ids.h"
#include "platform/codepage.h"
#include "platform/system.h"
#include "winui/message_text.h"

namespace app {

namespace {

// How long the browser control gets to produce a document before the window
// falls back to plain text. A local page has one within milliseconds where
// an HTML engine exists; without one it never gets one.
constexpr UINT_PTR kRenderCheckTimer = 1;
constexpr UINT kRenderCheckMs = 1500;
// The help page is small; a file beyond this is not read whole.
constexpr size_t kMaxHelpFileBytes = 1 << 20;

std::string ReadFileStart(const sys::Path& path, size_t limit) {
  std::string bytes;
  std::FILE* f = sys::OpenStdioFile(path, "rb");
  if (!f) return bytes;
  char buffer[4096];
  size_t n;
  while (bytes.size() < limit && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

// Edit controls break lines at "\r\n" only.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (wchar_t c : text) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

std::wstring WideFromUtf8(const std::string& text) {
  std::u16string wide = sys::Utf16FromUtf8(text);
  return std::wstring(wide.begin(), wide.end());
}

}  // namespace

CHelpDlg::CHelpDlg(bool openAtStartup) : CDialog(IDD_HELP), openAtStartup_(openAtStartup) {}

bool CHelpDlg::OnInitDialog() {
  using winui::MessageText;
  setTitle(MessageText(msg::kHelpTitle));
  setItemText(IDCANCEL, MessageText(msg::kCloseButton));
  setItemText(IDC_HELP_AT_STARTUP, MessageText(msg::kHelpAtStartCheckBox));
  setItemChecked(IDC_HELP_AT_STARTUP, openAtStartup_);
  ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(hwnd());

  programPath_ = sys::ProgramPath().wstring();
  HWND area = item(IDC_HELP_BROWSER);
  RECT rect{};
  if (area) ::GetClientRect(area, &rect);
  HRESULT result = area ? browser_.create(area, rect) : E_UNEXPECTED;
  if (SUCCEEDED(result)) result = browser_.navigate(HelpPageAddress(programPath_));
  if (FAILED(result)) {
    DebugLog("\nHelp window: browser control not available (0x%08lX)", static_cast<unsigned long>(result));
    showPlainText();
  } else {
    setTimer(kRenderCheckTimer, kRenderCheckMs);
  }
  return true;
}

void CHelpDlg::OnTimer(UINT_PTR id) {
  if (id != kRenderCheckTimer) return;
  killTimer(id);
  if (!plainText_ && !browser_.hasDocument()) {
    DebugLog("\nHelp window: the browser control shows no document; showing the page as text");
    showPlainText();
  }
}

void CHelpDlg::showPlainText() {
  browser_.close();
  showItem(IDC_HELP_BROWSER, false);
  const std::wstring filePath = HelpFilePath(programPath_);
  std::wstring text = winui::MessageText(msg::kHelpNotShownHere);
  if (!text.empty()) text += L"\n";
  text += filePath + L"\n\n";
  text += WideFromUtf8(HtmlToPlainText(ReadFileStart(sys::Path(filePath), kMaxHelpFileBytes)));
  setItemText(IDC_HELP_FALLBACK, WithCrLf(text));
  showItem(IDC_HELP_FALLBACK, true);
  plainText_ = true;
}

bool CHelpDlg::OnCommand(UINT id, UINT notifyCode, HWND control) {
  if (id == IDC_HELP_AT_STARTUP && notifyCode == BN_CLICKED) {
    WriteHelpSetting(HelpSettingFor(isItemChecked(IDC_HELP_AT_STARTUP)));
    return true;
  }
  // Enter closes the window like Close does.
  if (id == IDOK) {
    EndDialog(IDCANCEL);
    return true;
  }
  return CDialog::OnCommand(id, notifyCode, control);
}

void CHelpDlg::OnDestroy() {
  killTimer(kRenderCheckTimer);
  browser_.close();
}

}  // namespace app
