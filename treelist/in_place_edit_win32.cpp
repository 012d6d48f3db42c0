#include "treelist/in_place_edit_win32.h"

#include <commctrl.h>

#include <vector>

#include "treelist/control_rules.h"
#include "treelist/tree_list_messages_win32.h"

namespace treelist {

CInPlaceEdit::~CInPlaceEdit() { close(); }

bool CInPlaceEdit::open(HWND list, const RECT& rect, const std::wstring& text, int row, int column) {
  close();
  list_ = list;
  row_ = row;
  column_ = column;
  closing_ = false;
  closedByKey_ = false;
  HWND edit =
      ::CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, list,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(list, GWLP_HINSTANCE)), nullptr);
  if (!edit) return false;
  edit_.reset(edit);
  if (!hook_.attach(edit, [this](UINT m, WPARAM w, LPARAM l) { return handle(m, w, l); })) {
    edit_.reset();
    return false;
  }
  ::SendMessageW(edit, WM_SETFONT, ::SendMessageW(list, WM_GETFONT, 0, 0), TRUE);
  ::SendMessageW(edit, EM_LIMITTEXT, kEditMaxBytes, 0);
  ::SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  ::SetFocus(edit);
  return true;
}

void CInPlaceEdit::close() {
  HWND edit = edit_.get();
  if (!edit) return;
  // Destroying the focused editor takes its focus away; that must not post
  // a second close.
  closing_ = true;
  hook_.detach();
  edit_.reset();
}

bool CInPlaceEdit::modified() const { return edit_ && ::SendMessageW(edit_.get(), EM_GETMODIFY, 0, 0) != 0; }

std::wstring CInPlaceEdit::text() const {
  if (!edit_) return {};
  int length = ::GetWindowTextLengthW(edit_.get());
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int got = ::GetWindowTextW(edit_.get(), buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void CInPlaceEdit::postClose(WPARAM commit, LPARAM direction, bool byKey) {
  if (closing_) return;
  closing_ = true;
  closedByKey_ = byKey;
  ::PostMessageW(list_, CloseEditLabelMessage(), commit, direction);
}

LRESULT CInPlaceEdit::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handleMessage(message, wParam, lParam);
  } catch (...) {
    return hook_.attached() ? hook_.next(message, wParam, lParam) : 0;
  }
}

LRESULT CInPlaceEdit::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = edit_.get();
  switch (message) {
    case WM_GETDLGCODE:
      // Inside a dialog, Enter and Escape belong to the editor, not to the
      // dialog's default and cancel buttons.
      return hook_.next(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_RETURN:
          postClose(1, 0, true);
          return 0;
        case VK_ESCAPE:
          postClose(0, 0, true);
          return 0;
        case VK_UP:
          postClose(1, kCloseAfterUp, true);
          return 0;
        case VK_DOWN:
          postClose(1, kCloseAfterDown, true);
          return 0;
        default:
          break;
      }
      break;
    case WM_CHAR: {
      if (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B) return 0;  // handled as keys
      DWORD start = 0;
      DWORD end = 0;
      ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      int length = ::GetWindowTextLengthW(hwnd);
      if (!MayTypeCharacter(static_cast<uint32_t>(wParam), length, static_cast<int>(end - start))) {
        ::MessageBeep(MB_OK);
        return 0;
      }
      break;
    }
    case WM_KILLFOCUS:
      postClose(1, 0, false);
      break;
    case WM_NCDESTROY: {
      LRESULT result = hook_.next(message, wParam, lParam);
      hook_.detach();
      edit_.release();
      return result;
    }
    default:
      break;
  }
  return hook_.next(message, wParam, lParam);
}

}  // namespace treelist
