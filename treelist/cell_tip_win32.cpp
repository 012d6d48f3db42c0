#include "treelist/cell_tip_win32.h"

namespace treelist {
namespace {
constexpr UINT_PTR kToolId = 1;
}

TTTOOLINFOW CCellTip::tool(wchar_t* text) const {
  TTTOOLINFOW info{};
  // The tool structure of comctl32 before version 6: accepted by every version.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = list_;
  info.uId = kToolId;
  info.lpszText = text;
  return info;
}

bool CCellTip::create(HWND list) {
  list_ = list;
  HWND tip =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr,
                        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(list, GWLP_HINSTANCE)), nullptr);
  if (!tip) return false;
  tip_.reset(tip);
  wchar_t empty[] = L"";
  TTTOOLINFOW info = tool(empty);
  info.uFlags = 0;  // a rectangle of the list, moved to each cut-off cell
  if (!::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
    tip_.reset();
    return false;
  }
  // Long titles stay on one line.
  ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 4096);
  ::SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
  return true;
}

void CCellTip::showFor(int row, int column, const RECT& cell, const std::wstring& text) {
  if (!tip_ || (row == row_ && column == column_)) return;
  ::SendMessageW(tip_.get(), TTM_POP, 0, 0);
  text_ = text;
  TTTOOLINFOW info = tool(text_.data());
  info.rect = cell;
  ::SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(tip_.get(), TTM_ACTIVATE, TRUE, 0);
  ::SendMessageW(tip_.get(), TTM_UPDATE, 0, 0);
  row_ = row;
  column_ = column;
}

void CCellTip::hide() {
  if (!tip_ || row_ < 0) return;
  ::SendMessageW(tip_.get(), TTM_POP, 0, 0);
  // Inactive, so that the relayed mouse messages over a cell that fits do
  // not bring the old text back.
  ::SendMessageW(tip_.get(), TTM_ACTIVATE, FALSE, 0);
  row_ = -1;
  column_ = -1;
}

void CCellTip::relay(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!tip_) return;
  MSG msg{};
  msg.hwnd = list_;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = ::GetMessageTime();
  DWORD pos = ::GetMessagePos();
  msg.pt.x = static_cast<short>(LOWORD(pos));
  msg.pt.y = static_cast<short>(HIWORD(pos));
  ::SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

std::wstring CCellTip::text() const {
  if (!tip_) return {};
  wchar_t buffer[1024] = {};
  TTTOOLINFOW info = tool(buffer);
  ::SendMessageW(tip_.get(), TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&info));
  return buffer;
}

}  // namespace treelist
