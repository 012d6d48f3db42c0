// A real OLE drag and drop of files from this process onto a window of
// another one: the cursor is put over the target point and DoDragDrop runs
// with a CF_HDROP data object; the drop source plays the mouse, holding the
// button for a few polls while the cursor settles on the point, then lets
// go there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace probe {

struct DropOutcome {
  HRESULT result = E_FAIL;  // DoDragDrop's: DRAGDROP_S_DROP when dropped
  DWORD effect = 0;         // the effect the target answered
  // When the source let go (GetTickCount64), for timing what follows.
  ULONGLONG droppedAtMs = 0;
};

// screenPoint: where the drop lands.
DropOutcome DropFiles(const std::vector<std::wstring>& paths, POINT screenPoint);
// The screen point of a list view's empty area below its last row (or its
// middle when it has none); false when the rows fill it.
bool EmptyAreaOfList(HWND listView, POINT& screen);

}  // namespace probe
