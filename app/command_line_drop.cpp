#include "app/command_line_drop.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/debug_log.h"
#include "app/hdrop_data_object.h"
#include "win32/com_ptr.h"

namespace app {

namespace {

// A point of the list's client area below its last row, in screen
// coordinates: where a drop means "no album", as on an empty list.
POINT EmptyAreaPoint(HWND list) {
  RECT client{};
  ::GetClientRect(list, &client);
  POINT point{client.left + 4, client.bottom - 4};
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (rows > 0) {
    RECT last{LVIR_BOUNDS};
    if (::SendMessageW(list, LVM_GETITEMRECT, rows - 1, reinterpret_cast<LPARAM>(&last)) &&
        last.bottom + 2 < client.bottom)
      point.y = last.bottom + 2;
  } else {
    point.y = (client.top + client.bottom) / 2;
  }
  ::ClientToScreen(list, &point);
  return point;
}

}  // namespace

std::vector<sys::Path> ProgramArguments() {
  std::vector<sys::Path> out;
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!words) return out;
  for (int i = 1; i < count; ++i) out.emplace_back(words[i]);
  ::LocalFree(words);
  return out;
}

bool CCommandLineDrop::Run(engine::CMp3DropTarget& target, HWND list) {
  if (!pending() || !list) return false;
  done_ = true;
  std::vector<std::wstring> names;
  names.reserve(paths_.size());
  for (const sys::Path& path : paths_) names.push_back(path.wstring());
  win::ComPtr<IDataObject> data = win::ComPtr<IDataObject>::Attach(CreateHdropDataObject(names));
  if (!data) return false;
  DebugLog("\nCommand line: %d names dropped on the list", static_cast<int>(names.size()));
  return target.OnDrop(data.get(), DROPEFFECT_COPY, EmptyAreaPoint(list));
}

}  // namespace app
