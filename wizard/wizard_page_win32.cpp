#include "wizard/wizard_page_win32.h"

#include "win32/ansi_text.h"
#include "win32/unique_gdi.h"
#include "winui/controls.h"
#include "wizard/deckhand_res.h"
#include "wizard/wizard_flow.h"

namespace wizard {

WizardPage::WizardPage(UINT templateId, const WizardLook& look, PageTexts texts)
    : winui::CDialog(templateId), m_look(look), m_texts(std::move(texts)) {}

void WizardPage::setAnsiText(int id, const std::string& text) const {
  setItemText(id, win::WideFromAnsi(text));
}

void WizardPage::setBodyFont(int id) const {
  if (HWND control = item(id); control && m_look.body())
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_look.body()), TRUE);
}

void WizardPage::placeButton(int id, int x, const std::string& text) const {
  HWND button = item(id);
  if (!button) return;
  winui::Place(button, x, kButtonTop, kButtonWidth, kButtonHeight);
  setAnsiText(id, text);
  setBodyFont(id);
}

bool WizardPage::OnInitDialog() {
  const int width = kPageWidth;
  const int height = ::GetSystemMetrics(SM_CYCAPTION) + kPageClientHeight;
  const int left = ::GetSystemMetrics(SM_CXSCREEN) / 2 - kPageWidth / 2;
  const int top = ::GetSystemMetrics(SM_CYSCREEN) / 2 - kPageClientHeight / 2;
  ::SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  // The template's title is the caption of last resort; it is read before
  // the window gets the wizard's title.
  m_sTemplateTitle = title();
  refreshTexts();

  placeButton(IDOK, 220, texts().next);
  placeButton(IDCANCEL, 350, closeButtonText());
  placeButton(IDC_BACK, 138, texts().back);
  return true;
}

void WizardPage::refreshTexts() {
  const std::string text = caption();
  m_sCaption = text.empty() ? m_sTemplateTitle : win::WideFromAnsi(text);
  setTitle(win::WideFromAnsi(texts().title));
  setAnsiText(IDC_PAGE_MESSAGE, message());
  setBodyFont(IDC_PAGE_MESSAGE);
  if (HWND control = item(IDCANCEL)) winui::SetText(control, win::WideFromAnsi(closeButtonText()));
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

bool WizardPage::OnCommand(UINT id, UINT notifyCode, HWND control) {
  if (id == IDC_BACK && notifyCode == BN_CLICKED) {
    EndDialog(kResultBack);
    return true;
  }
  return winui::CDialog::OnCommand(id, notifyCode, control);
}

bool WizardPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_PAINT) return false;
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(hwnd(), &paint);
  if (dc) paintHeader(dc);
  ::EndPaint(hwnd(), &paint);
  result = 0;
  return true;
}

void WizardPage::paintHeader(HDC dc) const {
  auto fill = [dc](int left, int top, int right, int bottom, int colour) {
    RECT r{left, top, right, bottom};
    ::FillRect(dc, &r, ::GetSysColorBrush(colour));
  };
  fill(0, 0, kPageWidth, 50, COLOR_BTNHIGHLIGHT);
  fill(0, 0, kPageWidth, 1, COLOR_BTNSHADOW);
  fill(0, 51, kPageWidth, 52, COLOR_BTNHIGHLIGHT);
  fill(0, 230, kPageWidth, 231, COLOR_APPWORKSPACE);
  fill(0, 231, kPageWidth, 232, COLOR_BTNHIGHLIGHT);

  {
    win::SelectedObject font(
        dc, m_look.title() ? static_cast<HGDIOBJ>(m_look.title()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::TextOutW(dc, 10, 10, m_sCaption.c_str(), static_cast<int>(m_sCaption.size()));
  }

  if (HBITMAP bitmap = m_look.header.get()) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    win::UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    if (memory) {
      win::SelectedObject selected(memory.get(), bitmap);
      ::BitBlt(dc, 380, 6, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    }
  }
}

}  // namespace wizard
